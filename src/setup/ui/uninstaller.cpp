#include "setup/ui/uninstaller.h"

#include <QDir>
#include <QFileInfo>

#include "base/prompts.h"
#include "setup/install_files.h"
#include "setup/uninstall.h"

QString UninstallQuestion(const QString& productName)
{
    return QStringLiteral("¿Desea quitar %1 de su computadora?").arg(productName);
}

bool RunUninstaller(const QString& folder, Prompts& prompts, const MenuLocations& menus)
{
    const std::string listPath = FindInstallList(folder.toStdString());
    if (listPath.empty()) {
        prompts.Message(QStringLiteral("No se encontró en la carpeta «%1» la lista de lo que se instaló (el archivo "
                                       "terminado en «%2»). Sin ella no se sabe qué quitar, así que no se quitó nada.")
                            .arg(folder, QString::fromLatin1(kInstallListExtension))
                            .toStdString(),
                        PromptIcon::Error);
        return false;
    }
    // The list is named after the product ("ORDEXA.instalados").
    QString product = QFileInfo(QString::fromStdString(listPath)).completeBaseName();
    if (product.isEmpty())
        product = QStringLiteral("ORDEXA");
    if (!prompts.AskYesNo(UninstallQuestion(product).toStdString()))
        return false;

    UninstallReport report;
    std::string message;
    if (!Uninstall(listPath, report, message, menus)) {
        prompts.Message(QStringLiteral("%1 no se quitó por completo.\n\n%2")
                            .arg(product, QString::fromStdString(message))
                            .toStdString(),
                        PromptIcon::Error);
        return false;
    }
    QString done = QStringLiteral("%1 se quitó de su computadora.").arg(product);
    if (!report.changed.empty()) {
        QStringList names;
        for (const std::string& path : report.changed)
            names << QFileInfo(QString::fromStdString(path)).fileName();
        done += report.changed.size() == 1
                    ? QStringLiteral(" Se conservó un archivo que usted modificó: %1.").arg(names.first())
                    : QStringLiteral(" Se conservaron %1 archivos que usted modificó: %2.")
                          .arg(report.changed.size())
                          .arg(names.join(QStringLiteral(", ")));
    }
    if (QFileInfo(folder).isDir())
        done += QStringLiteral(" La carpeta «%1» se dejó en su lugar porque guarda archivos suyos.")
                    .arg(QDir::toNativeSeparators(folder));
    prompts.Message(done.toStdString(), PromptIcon::Information);
    return true;
}
