#include "platform/format_dialogs.h"

#include <QFileDialog>

#include "platform/file_folders.h"

std::string AskFormatToOpen(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Abrir"), QString(), QStringLiteral("Ordexa (*.fmt)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("fmt"));
    dialog.setDirectory(StartFolder(FileKind::Formats));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    RememberFolder(FileKind::Formats, dialog.selectedFiles().first());
    return dialog.selectedFiles().first().toStdString();
}
