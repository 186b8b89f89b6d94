// Unsaved work kept in recovery copies: what a run that stopped without closing leaves
// comes back in the next run, modified and written nowhere; a save takes the copy away.
// (Killed programs, real keys and a folder that cannot hold copies: recovery_kill_check.sh.)
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "app/recovery_keeper.h"
#include "base/atomic_file.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "capture/ui/fmtcaptura_frm.h"
#include "capture/ui/fmtcapture_view.h"
#include "design/fmtdesign_frm.h"
#include "design/fmtpantalla_frm.h"
#include "model/fmt_grid.h"

namespace fs = std::filesystem;

namespace {

struct Program {
    explicit Program(const std::string& folder, RecoveryDialog::Choice choice = RecoveryDialog::Choice::Later)
    {
        EXPECT_TRUE(app.Start({}, false));
        app.MainFrame()->resize(1100, 760);
        app.StartRecovery(folder, [this, choice](const std::vector<RecoveryStore::LeftCopy>& copies) {
            offered = copies.size();
            return choice;
        });
    }

    template <class Frame>
    Frame* Find() const
    {
        for (CChildFrame* frame : app.MainFrame()->Children())
            if (auto* found = dynamic_cast<Frame*>(frame))
                return found;
        return nullptr;
    }

    std::vector<std::string> Copies() const
    {
        std::vector<std::string> names;
        app.Recovery()->KeepNow();
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(app.Recovery()->Store().RunFolder(), ec))
            if (entry.path().extension() == ".rec")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app{settings, prompts};
    size_t offered = 0;
};

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes, nullptr));
    return bytes;
}

// The copies of `run` as a run that was killed leaves them: its folder, unlocked.
void LeaveAsKilled(const std::string& run, const std::string& folder)
{
    const std::string dead = folder + "/run-muerto";
    fs::create_directories(dead);
    for (const auto& entry : fs::directory_iterator(run))
        if (entry.path().extension() == ".rec")
            fs::copy_file(entry.path(), dead + "/" + entry.path().filename().string());
}

}  // namespace

TEST(Recovery, WorkOfAStoppedRunComesBackModifiedAndTheOriginalsStayAsTheyWere)
{
    QTemporaryDir dir;
    const std::string folder = dir.filePath("recuperacion").toStdString();
    const std::string format = dir.filePath("Factura.fmt").toStdString();
    fs::copy_file(ORDEXA_SAMPLES "/Factura.fmt", format);
    const std::vector<uint8_t> original = FileBytes(format);

    Program first(folder);
    auto* capture = static_cast<CFmtcapturaFrm*>(first.app.OpenForCapture(format));
    CaptureSession& session = capture->View()->Session();
    std::string message;
    ASSERT_TRUE(session.TypeValue(*session.FindVariable("CLIENTE"), "Constructora del Valle", message)) << message;
    ASSERT_TRUE(session.TypeCell(static_cast<CFmtGrid&>(*session.FindVariable("DETALLE")), 1, 1, "3", message));
    auto* design = static_cast<CFmtdesignFrm*>(first.app.OpenForDesign(format));
    CControles& moved = *design->Document().Elements().front();
    design->BeginChange();
    moved.Offset(120, -40, false);
    design->GestureChanged();
    const Rect movedTo = moved.m_rcPage;
    first.app.OpenForDesign(format);  // unchanged: no copy
    ASSERT_EQ(first.Copies(), (std::vector<std::string>{"captura-1.rec", "diseno-2.rec"}));

    LeaveAsKilled(first.app.Recovery()->Store().RunFolder(), folder);
    Program second(folder, RecoveryDialog::Choice::Recover);
    EXPECT_EQ(second.offered, 2u);
    ASSERT_EQ(second.app.MainFrame()->Children().size(), 2u);
    auto* recoveredCapture = second.Find<CFmtcapturaFrm>();
    auto* recoveredDesign = second.Find<CFmtdesignFrm>();
    ASSERT_TRUE(recoveredCapture && recoveredDesign);
    CaptureSession& restored = recoveredCapture->View()->Session();
    EXPECT_EQ(restored.ValueLines(), session.ValueLines());
    EXPECT_TRUE(restored.IsModified());
    EXPECT_TRUE(restored.CapturePath().empty());
    EXPECT_EQ(recoveredDesign->Path(), format);
    EXPECT_TRUE(recoveredDesign->IsModified());
    EXPECT_EQ(recoveredDesign->GetFormat().elements.front()->m_rcPage, movedTo);
    EXPECT_EQ(FileBytes(format), original);
    ASSERT_FALSE(second.prompts.Shown().empty());
    EXPECT_NE(second.prompts.Shown().back().find("Se recuperó el trabajo sin guardar de 2 ventanas"), std::string::npos);
    // The old copies went once this run kept the work in its own.
    EXPECT_FALSE(fs::exists(folder + "/run-muerto"));
    EXPECT_EQ(second.Copies(), (std::vector<std::string>{"captura-1.rec", "diseno-2.rec"}));

    // A save takes the window's copy away.
    ASSERT_TRUE(capture->View()->WriteCapture(dir.filePath("enero.cap").toStdString()));
    EXPECT_EQ(first.Copies(), (std::vector<std::string>{"diseno-2.rec"}));
}

TEST(Recovery, CapturedValuesOfAFormatThatChangedSinceSaySo)
{
    QTemporaryDir dir;
    const std::string folder = dir.filePath("recuperacion").toStdString();
    const std::string format = dir.filePath("Factura.fmt").toStdString();
    fs::copy_file(ORDEXA_SAMPLES "/Factura.fmt", format);
    Program first(folder);
    auto* capture = static_cast<CFmtcapturaFrm*>(first.app.OpenForCapture(format));
    CaptureSession& session = capture->View()->Session();
    std::string message;
    ASSERT_TRUE(session.TypeValue(*session.FindVariable("RFC"), "CVA980512KJ3", message));
    first.Copies();
    LeaveAsKilled(first.app.Recovery()->Store().RunFolder(), folder);

    // The format is saved again with another title: its bytes differ.
    Format changed;
    ASSERT_TRUE(LoadFormatFile(format, changed, message));
    changed.title = "Factura 2027";
    ASSERT_TRUE(SaveFormatFile(format, changed, FormatWriter::Rewrite, message));

    Program second(folder, RecoveryDialog::Choice::Recover);
    ASSERT_EQ(second.app.MainFrame()->Children().size(), 1u);
    auto* restored = static_cast<CFmtcapturaFrm*>(second.app.MainFrame()->Children()[0]);
    EXPECT_EQ(restored->View()->Session().ValueLines(), session.ValueLines());
    ASSERT_FALSE(second.prompts.Shown().empty());
    EXPECT_NE(second.prompts.Shown().back().find("cambió desde que se hizo la copia"), std::string::npos);
}

TEST(Recovery, AScreenLayoutCopyComesBackUnderItsFileModified)
{
    QTemporaryDir dir;
    const std::string format = dir.filePath("Factura.fmt").toStdString();
    fs::copy_file(ORDEXA_SAMPLES "/Factura.fmt", format);
    MemoryFrameHost host;
    CFmtpantallaFrm frame(host);
    RecoveryCopy copy;
    copy.mode = RecoveryMode::ScreenLayout;
    copy.sourcePath = format;
    copy.payload = FileBytes(format);
    std::string message;
    ASSERT_TRUE(frame.RestoreWork(copy, message)) << message;
    EXPECT_EQ(frame.Path(), format);
    EXPECT_TRUE(frame.IsModified());
    ASSERT_TRUE(frame.UnsavedWork());
    EXPECT_EQ(frame.UnsavedWork()->payload, copy.payload);
}
