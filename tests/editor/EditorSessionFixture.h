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

#include <cstdlib>
#include <filesystem>

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
