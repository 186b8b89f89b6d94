#include "platform/key_indicators.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

void AddKeyIndicatorPanes(QStatusBar* bar)
{
    const QFontMetrics metrics(bar->font());
    for (const char* key : {"MAY", "NUM", "DESP"}) {
        auto* label = new QLabel(QString::fromLatin1(key), bar);
        label->setObjectName(QStringLiteral("indicator") + QString::fromLatin1(key));
        label->setMinimumWidth(metrics.horizontalAdvance(QString::fromLatin1(key)) + 8);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}
