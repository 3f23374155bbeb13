#pragma once
// A running editor for a test, on real windows: started in a copy of data/ (scripts, global
// templates, the sample ship) with a profile of its own, its modal dialogs and message boxes
// answered by a recording hook.
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CPropertyDoc.h"
#include "platform/mfc/RecordingModalHook.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <wx/utils.h>

class EditorSessionFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy(std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "data", m_kData.Path(),
                              std::filesystem::copy_options::recursive);
        setenv("XDG_CONFIG_HOME", m_kConfig.Path().c_str(), 1);
        m_kOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(m_kData.Path());
    }
    void TearDown() override
    {
        if (m_bStarted)
            m_kApp.ShutDown();
        std::filesystem::current_path(m_kOldFolder);
    }

    void Start()
    {
        char acName[] = "fitwright";
        char* apcArgv[] = {acName, nullptr};
        m_bStarted = true;
        ASSERT_TRUE(m_kApp.StartUp(1, apcArgv));
        m_kApp.PumpMessages();
    }
    // Lets the toolkit handle what is queued until the condition holds (or a few seconds pass).
    bool PumpUntil(const std::function<bool()>& fnDone)
    {
        const auto kEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < kEnd)
        {
            m_kApp.PumpMessages();
            if (fnDone())
                return true;
            wxMilliSleep(10);
        }
        return false;
    }
    // Lets the toolkit handle what is queued for a tenth of a second, and what that queues in turn.
    void Settle()
    {
        for (int i = 0; i < 10; ++i)
        {
            m_kApp.PumpMessages();
            wxMilliSleep(10);
        }
    }
    CMainFrame* Main() { return static_cast<CMainFrame*>(m_kApp.m_pMainWnd); }
    CPropertyDoc* Active() { return dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument()); }
    // Runs a command as its menu item would; it must be enabled and handled.
    void Command(UINT nID)
    {
        EXPECT_TRUE(Main()->RouteCommand(nID)) << "command " << nID;
        m_kApp.PumpMessages();
    }
    // File Open with the dialog answering the path; the active document after it.
    CPropertyDoc* Open(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        Command(ID_FILE_OPEN);
        return Active();
    }
    std::string Model(const char* pcName) const { return m_kData.Path(std::string("Models/") + pcName); }

    TempFolder m_kData;
    TempFolder m_kConfig;
    std::filesystem::path m_kOldFolder;
    mfc::RecordingModalHook m_kHook;
    CEditorApp m_kApp;
    bool m_bStarted = false;
};
