// Value records of the variable kinds, byte for byte, and the entry-control life.
#include <gtest/gtest.h>

#include "model/cuadros_var.h"
#include "model/marca_var.h"
#include "model/parrafo_var.h"
#include "base/recording_dc.h"
#include "model/textline_var.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Save(const CControles& e)
{
    ArchiveWriter ar;
    e.SaveValue(ar);
    return ar.Take();
}

}  // namespace

TEST(KindsValues, RecordsAreTheOrderThenTheValue)
{
    MemoryEntryFactory factory;
    RecordingDc dc;

    CTextlineVar line;
    line.m_order = 3;
    EXPECT_EQ(Save(line), (Bytes{3, 0, 0, 0, 0})) << "no control saves the empty string";
    line.CreateEntryControl(dc, factory, 1176, LogFont{});
    EXPECT_EQ(Save(line), (Bytes{3, 0, 0, 0, 0})) << "empty text line";
    line.m_pControl->SetText("Año");
    EXPECT_EQ(Save(line), (Bytes{3, 0, 0, 0, 3, 'A', 0xF1, 'o'})) << "code page text";

    CParrafoVar par;
    par.m_order = 0x0102;
    par.CreateEntryControl(dc, factory, 1174, LogFont{});
    par.m_pControl->SetText("a\r\nb");
    EXPECT_EQ(Save(par), (Bytes{2, 1, 0, 0, 4, 'a', 13, 10, 'b'}));

    CCuadrosVar boxes;
    boxes.m_order = 7;
    boxes.CreateEntryControl(dc, factory, 1180, LogFont{});
    boxes.m_pControl->SetText("AB C");
    EXPECT_EQ(Save(boxes), (Bytes{7, 0, 0, 0, 4, 'A', 'B', ' ', 'C'}));

    CMarcaVar mark;
    mark.m_order = 5;
    EXPECT_EQ(Save(mark), (Bytes{5, 0, 0, 0, 0, 0, 0, 0}));
    mark.CreateEntryControl(dc, factory, 1178, LogFont{});
    mark.m_pControl->SetChecked(true);
    EXPECT_EQ(Save(mark), (Bytes{5, 0, 0, 0, 1, 0, 0, 0}));
}

TEST(KindsValues, LoadingConsumesTheValueWithOrWithoutAControlAndClearingEmptiesIt)
{
    const Bytes record{4, 'h', 'o', 'l', 'a', 1, 0, 0, 0};
    MemoryEntryFactory factory;
    RecordingDc dc;

    CTextlineVar noControl;
    ArchiveReader first(record);
    noControl.LoadValue(first);
    EXPECT_EQ(first.Offset(), 5u) << "the value is read and discarded";

    CTextlineVar line;
    CMarcaVar mark;
    line.CreateEntryControl(dc, factory, 1174, LogFont{});
    mark.CreateEntryControl(dc, factory, 1175, LogFont{});
    ArchiveReader ar(record);
    line.LoadValue(ar);
    mark.LoadValue(ar);
    EXPECT_TRUE(ar.AtEnd());
    EXPECT_EQ(line.m_pControl->Text(), "hola");
    EXPECT_TRUE(mark.m_pControl->IsChecked());
    line.ClearValue();
    mark.ClearValue();
    EXPECT_EQ(line.m_pControl->Text(), "");
    EXPECT_FALSE(mark.m_pControl->IsChecked());
}

TEST(KindsValues, AControlIsCreatedOnceAtTheScreenRectangleWithTheGivenIdAndFont)
{
    MemoryEntryFactory factory;
    RecordingDc dc;
    LogFont screen;
    screen.height = 14;
    CTextlineVar line;
    line.m_rcScreen = {10, 20, 110, 40};
    EXPECT_EQ(line.CreateEntryControl(dc, factory, 1177, screen), 1);
    auto* first = line.m_pControl.get();
    first->SetText("kept");
    EXPECT_EQ(line.CreateEntryControl(dc, factory, 1199, screen), 0);
    EXPECT_EQ(line.m_pControl.get(), first);
    EXPECT_EQ(line.m_pControl->Text(), "kept");
    const auto& params = static_cast<MemoryTextEntry&>(*line.m_pControl).Params();
    EXPECT_EQ(params.controlId, 1177);
    EXPECT_EQ(params.kind, TextEntryKind::CalcLine);
    EXPECT_EQ(params.rcScreen, line.m_rcScreen);
    EXPECT_EQ(params.font.height, 14);
}

TEST(KindsValues, TypingIntoTheInMemoryBoxEditStopsAtTheBoxCountWhileLoadingDoesNot)
{
    MemoryEntryFactory factory;
    RecordingDc dc;
    CCuadrosVar boxes;
    boxes.m_boxCount = 3;
    boxes.CreateEntryControl(dc, factory, 1180, LogFont{});
    auto& edit = static_cast<MemoryTextEntry&>(*boxes.m_pControl);
    edit.Type("ñABCD");
    EXPECT_EQ(edit.Text(), "ñAB");
    const Bytes record{5, 'A', 'B', 'C', 'D', 'E'};
    ArchiveReader ar(record);
    boxes.LoadValue(ar);
    EXPECT_EQ(edit.Text(), "ABCDE");
}
