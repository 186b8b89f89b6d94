// Captured-data files: the record layout, a byte-for-byte round trip, the refusal of a
// file captured with another format, damaged files, and the modified flag.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/archive.h"
#include "base/atomic_file.h"
#include "capture_fixture.h"
#include "scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;


Bytes Read(const std::string& path)
{
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, bytes, &error)) << error;
    return bytes;
}

void Write(const std::string& path, const Bytes& bytes)
{
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, bytes, &error)) << error;
}

// Two text lines and a check mark, in list order (head first).
Format SmallFormat()
{
    Format format;
    format.elements.push_back(Line("Nombre", 2));
    format.elements.push_back(Variable(kKindMarcaVar, "Casado", 3));
    format.elements.push_back(Line("Edad", 1));
    return format;
}

void FillInvoice(CaptureFixture& f)
{
    f.TypeCell("Detalle", 1, 1, "2");
    f.TypeCell("Detalle", 1, 2, "Martillo grande");
    f.TypeCell("Detalle", 1, 3, "99.5");
    f.Type("Pagada", "1");
    f.Type("Notas", "Entrega en almacén\\nsegundo piso");
    f.Type("RFC", "XAXX010101000");
}

}  // namespace

TEST(CaptureFile, RecordsFollowTheListWithTheFormatNameFirst)
{
    CaptureFixture f;
    f.Open(SmallFormat(), "/datos/formatos/Alta.fmt");
    f.Type("Nombre", "José");
    f.Type("Casado", "1");
    f.Type("Edad", "41");

    ArchiveWriter expected;
    expected.WriteString("Alta.fmt");
    expected.WriteInt32(2);
    expected.WriteString("José");
    expected.WriteInt32(3);
    expected.WriteInt32(1);
    expected.WriteInt32(1);
    expected.WriteString("41");
    EXPECT_EQ(f.session.CaptureBytes(), expected.Bytes());
    EXPECT_EQ(f.session.CaptureBytes()[17], 0xE9) << "text is stored in Windows-1252";
}

TEST(CaptureFile, AFileSavedAndOpenedAgainIsTheSameByteForByte)
{
    ScratchFolder folder;
    CaptureFixture first;
    first.Open(InvoiceFormat(false));
    FillInvoice(first);
    std::string message;
    ASSERT_TRUE(first.session.SaveCapture((folder / "uno.cap"), message)) << message;
    EXPECT_EQ(first.session.CapturePath(), (folder / "uno.cap"));

    CaptureFixture second;
    second.Open(InvoiceFormat(false));
    ASSERT_EQ(second.session.LoadCapture((folder / "uno.cap"), message), CaptureLoadStatus::Loaded) << message;
    EXPECT_EQ(second.session.ValueLines(), first.session.ValueLines());
    EXPECT_EQ(second.Text("Total"), "230.84") << "calculated fields show their stored texts";
    EXPECT_FALSE(second.session.IsModified());
    ASSERT_TRUE(second.session.SaveCapture((folder / "dos.cap"), message)) << message;
    EXPECT_EQ(Read((folder / "dos.cap")), Read((folder / "uno.cap")));

    // Records in another order load all the same.
    CaptureFixture third;
    third.Open(InvoiceFormat(true));
    ASSERT_EQ(third.session.LoadCapture((folder / "uno.cap"), message), CaptureLoadStatus::Loaded) << message;
    EXPECT_EQ(third.Text("Letra"), first.Text("Letra"));
    EXPECT_EQ(third.session.ValueLines().size(), first.session.ValueLines().size());
}

TEST(CaptureFile, AFileOfAnotherFormatIsRefusedAndNothingChanges)
{
    ScratchFolder folder;
    CaptureFixture other;
    other.Open(SmallFormat(), (folder / "Alta.fmt"));
    other.Type("Nombre", "Ana");
    std::string message;
    ASSERT_TRUE(other.session.SaveCapture((folder / "alta.cap"), message));

    CaptureFixture f;
    f.Open(SmallFormat(), (folder / "alta.fmt"));  // the same format renamed: case counts
    f.Type("Nombre", "Luis");
    EXPECT_EQ(f.session.LoadCapture((folder / "alta.cap"), message), CaptureLoadStatus::WrongFormat);
    EXPECT_EQ(message, "El archivo seleccionado es del tipo Alta.fmt y no del formato alta.fmt actual");
    EXPECT_EQ(f.Text("Nombre"), "Luis");
    EXPECT_EQ(f.session.CapturePath(), "");
}

TEST(CaptureFile, ARecordOfNoFieldStopsTheLoadAndKeepsWhatCameBefore)
{
    ScratchFolder folder;
    ArchiveWriter ar;
    ar.WriteString("Alta.fmt");
    ar.WriteInt32(1);
    ar.WriteString("30");
    ar.WriteInt32(99);  // no element has order 99
    ar.WriteString("x");
    ar.WriteInt32(2);
    ar.WriteString("Pedro");
    Write((folder / "rara.cap"), ar.Bytes());

    CaptureFixture f;
    f.Open(SmallFormat(), (folder / "Alta.fmt"));
    f.Type("Nombre", "antes");
    std::string message;
    EXPECT_EQ(f.session.LoadCapture((folder / "rara.cap"), message), CaptureLoadStatus::Partial);
    EXPECT_EQ(f.Text("Edad"), "30");
    EXPECT_EQ(f.Text("Nombre"), "") << "values not in the file were cleared before loading";
    EXPECT_NE(message.find("rara.cap"), std::string::npos) << message;
    EXPECT_NE(message.find("99"), std::string::npos) << message;
    EXPECT_NE(message.find("byte 16"), std::string::npos) << message;
    EXPECT_EQ(f.session.CapturePath(), "") << "a file read in part is never saved over";
    EXPECT_TRUE(f.session.IsModified());
}

TEST(CaptureFile, DamagedFilesAreRefusedWithTheirOffset)
{
    ScratchFolder folder;
    CaptureFixture f;
    f.Open(SmallFormat(), (folder / "Alta.fmt"));
    std::string message;

    // A header whose length runs past the end of the file.
    Write((folder / "corta.cap"), Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'A'});
    EXPECT_EQ(f.session.LoadCapture((folder / "corta.cap"), message), CaptureLoadStatus::Unreadable);
    EXPECT_NE(message.find("corta.cap"), std::string::npos) << message;

    // A text whose length prefix says 200 bytes where 3 remain.
    ArchiveWriter ar;
    ar.WriteString("Alta.fmt");
    ar.WriteInt32(1);
    ar.WriteString("7");
    ar.WriteInt32(2);
    ar.WriteByte(200);
    ar.WriteBytes("abc");
    Write((folder / "rota.cap"), ar.Bytes());
    EXPECT_EQ(f.session.LoadCapture((folder / "rota.cap"), message), CaptureLoadStatus::Partial);
    EXPECT_EQ(f.Text("Edad"), "7");
    EXPECT_NE(message.find("byte "), std::string::npos) << message;

    EXPECT_EQ(f.session.LoadCapture((folder / "no-existe.cap"), message), CaptureLoadStatus::Unreadable);
    EXPECT_NE(message.find("no-existe.cap"), std::string::npos) << message;
}

TEST(CaptureFile, ValuesCountAsModifiedUntilSaved)
{
    ScratchFolder folder;
    CaptureFixture f;
    f.Open(InvoiceFormat(false));
    EXPECT_FALSE(f.session.IsModified()) << "an empty form has nothing to lose";
    f.TypeCell("Detalle", 1, 1, "2");
    EXPECT_TRUE(f.session.IsModified());
    std::string message;
    ASSERT_TRUE(f.session.SaveCapture((folder / "a.cap"), message));
    EXPECT_FALSE(f.session.IsModified());
    f.Type("Pagada", "1");
    EXPECT_TRUE(f.session.IsModified());
    f.Type("Pagada", "0");
    EXPECT_FALSE(f.session.IsModified()) << "back to the saved values";
    f.session.Clear();
    EXPECT_TRUE(f.session.IsModified());

    // A save that fails keeps the old file and the flag.
    EXPECT_FALSE(f.session.SaveCapture((folder / "no/existe/b.cap"), message));
    EXPECT_TRUE(f.session.IsModified());
    EXPECT_EQ(f.session.CapturePath(), (folder / "a.cap"));
}

TEST(CaptureFile, AFormatWithoutVariablesSavesItsHeaderOnly)
{
    CaptureFixture f;
    Format format;
    format.elements.push_back(CreateElementAt(kKindConsText, 10, -10));
    f.Open(std::move(format), "Vacio.fmt");
    EXPECT_EQ(f.session.FirstControlId(), 0);
    ArchiveWriter header;
    header.WriteString("Vacio.fmt");
    EXPECT_EQ(f.session.CaptureBytes(), header.Bytes());
}
