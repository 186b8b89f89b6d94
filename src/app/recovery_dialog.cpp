#include "app/recovery_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

QString RecoveryDialog::FileText(const RecoveryCopy& copy)
{
    const QString source = copy.sourcePath.empty() ? QStringLiteral("(nuevo)") : QString::fromStdString(copy.sourcePath);
    if (copy.mode != RecoveryMode::Capture)
        return source;
    const QString data = copy.capturePath.empty() ? QStringLiteral("datos sin guardar")
                                                  : QString::fromStdString(copy.capturePath);
    return QStringLiteral("%1 (formato %2)").arg(data, source);
}

RecoveryDialog::RecoveryDialog(const std::vector<RecoveryStore::LeftCopy>& copies, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Recuperar trabajo no guardado"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Ordexa no se cerró normalmente la última vez y quedó trabajo sin "
                                                "guardar en estas ventanas:"),
                                 this));
    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("recoveryList"));
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("Modo"), QStringLiteral("Archivo"), QStringLiteral("Hora")});
    bool anyExpired = false;
    for (const RecoveryStore::LeftCopy& left : copies) {
        const QString when = QDateTime::fromSecsSinceEpoch(left.copy.savedAtSeconds).toString(
            QStringLiteral("dd/MM/yyyy HH:mm"));
        auto* item = new QTreeWidgetItem(list, {QString::fromUtf8(RecoveryModeName(left.copy.mode)),
                                               FileText(left.copy), left.expired ? when + QStringLiteral(" *") : when});
        item->setToolTip(1, item->text(1));
        anyExpired = anyExpired || left.expired;
    }
    // The mode and the time are shown whole; a long path is shortened (its tooltip holds
    // it all).
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->setTextElideMode(Qt::ElideMiddle);
    layout->addWidget(list);
    if (anyExpired)
        layout->addWidget(new QLabel(QStringLiteral("* Copia de hace más de 30 días: si no la recupera ahora, se "
                                                    "eliminará."),
                                     this));
    layout->addWidget(new QLabel(QStringLiteral("Lo recuperado se abre sin guardar: los archivos originales no "
                                                "cambian hasta que usted guarde."),
                                 this));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* recover = buttons->addButton(QStringLiteral("&Recuperar"), QDialogButtonBox::AcceptRole);
    QPushButton* discard = buttons->addButton(QStringLiteral("&Descartar"), QDialogButtonBox::DestructiveRole);
    QPushButton* later = buttons->addButton(QStringLiteral("Decidir &después"), QDialogButtonBox::RejectRole);
    recover->setDefault(true);
    connect(recover, &QPushButton::clicked, this, [this] { m_choice = Choice::Recover; accept(); });
    connect(discard, &QPushButton::clicked, this, [this] { m_choice = Choice::Discard; accept(); });
    connect(later, &QPushButton::clicked, this, [this] { m_choice = Choice::Later; reject(); });
    layout->addWidget(buttons);
    resize(720, sizeHint().height());
}

RecoveryDialog::Choice RecoveryDialog::Ask()
{
    m_choice = Choice::Later;
    exec();
    return m_choice;
}
