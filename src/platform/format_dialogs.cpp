#include "platform/format_dialogs.h"

#include <QFileDialog>

std::string AskFormatToOpen(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Abrir"), QString(), QStringLiteral("Ordexa (*.fmt)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("fmt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}
