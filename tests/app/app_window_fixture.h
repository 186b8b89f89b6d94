#pragma once
// A started program with its main window shown (offscreen), formats of its own in a
// temporary folder, and settings and prompts held in memory.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/main_frame.h"
#include "app/ordexa_app.h"
#include "base/prompts.h"
#include "base/settings_store.h"
#include "model/format_file.h"
#include "model/textline_var.h"

class AppWindowFixture : public ::testing::Test {
protected:
    // Recent formats to find in the settings at start-up, Last1 first.
    virtual std::vector<std::string> InitialRecent() const { return {}; }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"factura.fmt", "cheque.fmt", "nomina.fmt"})
            WriteFormat(name, std::string("Título de ") + name);
        const std::vector<std::string> recent = InitialRecent();
        for (size_t i = 0; i < recent.size(); ++i)
            settings.WriteString("Last" + std::to_string(i + 1), recent[i]);
        ASSERT_TRUE(app.Start({}, false));
        frame = app.MainFrame();
        frame->resize(1100, 760);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
    }

    void WriteFormat(const char* name, const std::string& title)
    {
        Format f;
        f.title = title;
        auto line = std::make_unique<CTextlineVar>();
        line->m_text = "RFC";
        f.elements.push_front(std::move(line));
        std::string message;
        ASSERT_TRUE(SaveFormatFile(Path(name), f, FormatWriter::Design, message)) << message;
    }

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    COrdexaApp app{settings, prompts};
    CMainFrame* frame = nullptr;
};
