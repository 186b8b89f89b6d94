// The capture screen's Qt entry controls behind the entry-control interface.
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/calc_edit.h"
#include "model/cuadros_var.h"
#include "model/marca_var.h"
#include "model/parrafo_var.h"
#include "base/recording_dc.h"
#include "model/text_value_element.h"
#include "model/textline_var.h"

namespace {

LogFont ScreenFont()
{
    LogFont font;
    font.height = 14;
    return font;
}

}  // namespace

TEST(EntryControls, ATextLineGetsACalcEditAtItsScreenRectangleThatReportsLeavingTheField)
{
    QWidget form;
    QtEntryFactory factory(&form);
    QSignalSpy spy(&factory, &QtEntryFactory::fieldLeft);
    CTextlineVar line;
    line.m_rcScreen = {32, 78, 208, 98};
    RecordingDc dc;
    ASSERT_EQ(line.CreateEntryControl(dc, factory, 1176, ScreenFont()), 1);
    auto edits = form.findChildren<CCalcEdit*>();
    ASSERT_EQ(edits.size(), 1);
    CCalcEdit* edit = edits[0];
    EXPECT_EQ(edit->geometry(), QRect(32, 78, 176, 20));
    EXPECT_EQ(edit->ControlId(), 1176);
    EXPECT_EQ(edit->font().family(), "Arial");

    QTest::keyClicks(edit, "1500.50");
    EXPECT_EQ(line.m_pControl->Text(), "1500.50");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 1176);

    line.m_pControl.reset();
    EXPECT_TRUE(form.findChildren<CCalcEdit*>().isEmpty()) << "the control goes with the element";
}

TEST(EntryControls, TheBoxEditStopsTypingAtTheBoxCountButKeepsALongerLoadedValue)
{
    QWidget form;
    QtEntryFactory factory(&form);
    CCuadrosVar boxes;
    boxes.m_boxCount = 3;
    RecordingDc dc;
    boxes.CreateEntryControl(dc, factory, 1177, ScreenFont());
    auto* edit = form.findChild<CBoxEdit*>();
    ASSERT_TRUE(edit);
    QTest::keyClicks(edit, "ABCD");
    EXPECT_EQ(boxes.m_pControl->Text(), "ABC");

    boxes.m_pControl->SetText("ABCDEF");
    EXPECT_EQ(boxes.m_pControl->Text(), "ABCDEF");
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(boxes.m_pControl->Text(), "ABCDE") << "a too-long value can be shortened";
    QTest::keyClicks(edit, "G");
    EXPECT_EQ(boxes.m_pControl->Text(), "ABCDE") << "but not lengthened";
}

TEST(EntryControls, TheParagraphEditBreaksLinesOnEnterAndHandsThemOutAsCrLf)
{
    QWidget form;
    QtEntryFactory factory(&form);
    CParrafoVar par;
    RecordingDc dc;
    par.CreateEntryControl(dc, factory, 1178, ScreenFont());
    auto* edit = form.findChild<CParagraphEdit*>();
    ASSERT_TRUE(edit);
    QTest::keyClicks(edit, "uno");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, "dos");
    EXPECT_EQ(par.m_pControl->Text(), "uno\r\ndos");
    par.m_pControl->SetText("a\r\nb");
    EXPECT_EQ(edit->toPlainText(), "a\nb");
}

TEST(EntryControls, EveryTextControlRefusesACharacterTheCapturedDataCannotHoldAndNamesIt)
{
    QWidget form;
    form.show();
    QtEntryFactory factory(&form);
    CTextlineVar line;
    CParrafoVar paragraph;
    CCuadrosVar boxes;
    boxes.m_boxCount = 8;
    RecordingDc dc;
    int id = 1180;
    for (CControles* e : std::initializer_list<CControles*>{&line, &paragraph, &boxes}) {
        e->CreateEntryControl(dc, factory, id++, ScreenFont());
        auto& value = static_cast<CTextValueElement&>(*e);
        QWidget* control = nullptr;
        for (QWidget* w : form.findChildren<QWidget*>())
            if (EntryControlId(w) == id - 1)
                control = w;
        ASSERT_NE(control, nullptr) << e->KindName();
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QStringLiteral("ñ"), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QStringLiteral("Ł"), Qt::NoModifier);
        EXPECT_EQ(value.m_pControl->Text(), "ñ") << e->KindName();
        EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("\"Ł\""))) << e->KindName() << ": "
                                                                         << QToolTip::text().toStdString();
        QToolTip::hideText();
    }
}

TEST(EntryControls, TheCheckMarkTicksOnAClickAndThroughTheInterface)
{
    QWidget form;
    QtEntryFactory factory(&form);
    CMarcaVar mark;
    mark.m_rcScreen = {10, 10, 25, 25};
    RecordingDc dc;
    mark.CreateEntryControl(dc, factory, 1179, ScreenFont());
    auto* box = form.findChild<CMarkCheck*>();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_FALSE(mark.m_pControl->IsChecked());
    box->click();
    EXPECT_TRUE(mark.m_pControl->IsChecked());
    mark.ClearValue();
    EXPECT_FALSE(box->isChecked());
}
