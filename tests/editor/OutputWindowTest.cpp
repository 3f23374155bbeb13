// What a user sees when something fails, on real windows: script output, tracebacks and the
// debugger output in the output window, which comes forward by itself for an error; damaged
// models, broken scripts and a broken global templates file, each shown there while the editor
// stays up and nothing is lost.
#include "editor/COutputWindow.h"
#include "editor/CPropertyView.h"
#include "editor/resources/Resource.h"
#include "platform/win32/DebugOutput.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKPropertyScriptFile.h"
#include "scripting/PyEmbed.h"
#include "tests/editor/EditorSessionFixture.h"

#include <gmock/gmock.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/utils.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace
{
namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

std::string ReadFile(const fs::path& kPath)
{
    std::ifstream kFile(kPath, std::ios::binary);
    return {std::istreambuf_iterator<char>(kFile), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& kPath, const std::string& kText)
{
    std::ofstream(kPath, std::ios::binary) << kText;
}

int CountOf(const std::string& kText, const std::string& kPart)
{
    int iCount = 0;
    for (size_t uiAt = kText.find(kPart); uiAt != std::string::npos; uiAt = kText.find(kPart, uiAt + 1))
        ++iCount;
    return iCount;
}

size_t PropertyCount(CPropertyDoc* pkDoc)
{
    size_t uiCount = 0;
    for (SKNamedModelPropertyList* pkList : pkDoc->GetPropertySet()->GetPropertyLists())
        uiCount += static_cast<size_t>(pkList->GetItems().GetCount());
    return uiCount;
}

// Root reads a file whatever its permissions: while this lives the test thread has no such
// power, so a file without read permission is unreadable to it as to anyone.
class WithoutReadOverride
{
public:
    WithoutReadOverride()
    {
        if (syscall(SYS_capget, &m_kHeader, m_akSaved) != 0)
            return;
        __user_cap_data_struct akReduced[2];
        std::memcpy(akReduced, m_akSaved, sizeof(akReduced));
        akReduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_bChanged = syscall(SYS_capset, &m_kHeader, akReduced) == 0;
    }
    ~WithoutReadOverride()
    {
        if (m_bChanged)
            syscall(SYS_capset, &m_kHeader, m_akSaved);
    }
    WithoutReadOverride(const WithoutReadOverride&) = delete;
    WithoutReadOverride& operator=(const WithoutReadOverride&) = delete;

private:
    __user_cap_header_struct m_kHeader{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_akSaved[2] = {};
    bool m_bChanged = false;
};

class OutputWindowTest : public EditorSessionFixture
{
protected:
    COutputWindow* Output() { return m_kApp.GetOutputWindow(); }

    bool ComesForward()
    {
        return PumpUntil([this] { return Output()->IsShown(); });
    }
    void Close()
    {
        Output()->GetFrame()->Close();
        m_kApp.PumpMessages();
        ASSERT_FALSE(Output()->IsShown());
    }
    fs::path DataFile(const std::string& kName) const { return fs::path(m_kData.Path()) / kName; }
};
} // namespace

TEST_F(OutputWindowTest, ScriptAndDebuggerOutputShowThereAndErrorsBringItForward)
{
    Start();
    ASSERT_NE(Output(), nullptr);
    ASSERT_NE(Output()->GetFrame(), nullptr);
    EXPECT_FALSE(Output()->IsShown()) << Output()->GetText();

    // Plain output is kept without interrupting the user.
    OutputDebugStringA("NiStream: a note of the engine\n");
    PyEmbed::RunSimpleString("print('a line a script printed')");
    m_kApp.PumpMessages();
    EXPECT_THAT(Output()->GetText(), HasSubstr("NiStream: a note of the engine\n"));
    EXPECT_THAT(Output()->GetText(), HasSubstr("a line a script printed\n"));
    EXPECT_FALSE(Output()->IsShown());

    // A traceback brings it forward.
    PyEmbed::RunSimpleString("def Broken():\n    return 1 / 0\nBroken()\n");
    EXPECT_TRUE(ComesForward());
    EXPECT_THAT(Output()->GetText(), HasSubstr("Traceback (most recent call last)"));
    EXPECT_THAT(Output()->GetText(), HasSubstr("ZeroDivisionError: division by zero"));

    // Closed, it comes back for an error of the debugger output, and from the View menu.
    Close();
    OutputDebugStringA("Texture Upload Failed\n");
    EXPECT_TRUE(ComesForward());
    Close();
    Command(ID_VIEW_OUTPUT);
    EXPECT_TRUE(Output()->IsShown());
}

TEST_F(OutputWindowTest, ItLeavesThePropertyListButtonsInSight)
{
    Start();
    CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
    ASSERT_NE(pkDoc, nullptr);
    PyEmbed::RunSimpleString("raise LookupError('placed')");
    ASSERT_TRUE(ComesForward());
    m_kApp.PumpMessages();

    const wxRect kOutput = Output()->GetFrame()->GetScreenRect();
    int iButtons = 0;
    for (wxWindow* pkChild : pkDoc->GetPropertyView()->GetToolkitWindow()->GetChildren())
        if (auto* pkButton = dynamic_cast<wxButton*>(pkChild))
        {
            ++iButtons;
            EXPECT_FALSE(kOutput.Intersects(pkButton->GetScreenRect())) << pkButton->GetLabel();
        }
    EXPECT_EQ(iButtons, 3);
}

TEST_F(OutputWindowTest, DamagedModelsShowTheStreamErrorAndTheEditorStaysUp)
{
    const std::string kModel = ReadFile(Model("SampleShip.nif"));
    std::string kGarbage(2000, '\0');
    for (size_t i = 0; i < kGarbage.size(); ++i)
        kGarbage[i] = static_cast<char>((i * 7919u + 13u) % 251u);
    struct Case
    {
        const char* pcName;
        std::string kBytes;
        const char* pcReason;
    };
    const Case akCases[] = {{"Truncated.nif", kModel.substr(0, 300), ""},
                            {"Garbage.nif", kGarbage, "is not a NIF file"}};
    Start();
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcName);
        const std::string kPath = Model(kCase.pcName);
        WriteFile(kPath, kCase.kBytes);
        if (Output()->IsShown())
            Close();

        EXPECT_EQ(Open(kPath), nullptr);
        EXPECT_TRUE(ComesForward());
        EXPECT_THAT(Output()->GetText(), HasSubstr("Error loading model " + kPath + ": " + kCase.pcReason));
        EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
    }
    // The editor carries on.
    EXPECT_NE(Open(Model("SampleShip.nif")), nullptr);
}

TEST_F(OutputWindowTest, AScriptWithASyntaxErrorShowsItAndTheModelKeepsItsProperties)
{
    Start();
    CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
    ASSERT_NE(pkDoc, nullptr);
    const size_t uiProperties = PropertyCount(pkDoc);
    ASSERT_GT(uiProperties, 0u);
    const std::string kScript = Model("Typo.py");
    WriteFile(kScript, "import App\ndef LoadPropertySet(pObj)\n    pass\n");

    EXPECT_EQ(Open(kScript), pkDoc);
    EXPECT_TRUE(ComesForward());
    EXPECT_THAT(Output()->GetText(), HasSubstr("File \"" + kScript + "\", line 2"));
    EXPECT_THAT(Output()->GetText(), HasSubstr("SyntaxError"));
    EXPECT_EQ(PropertyCount(pkDoc), uiProperties);
}

TEST_F(OutputWindowTest, SaveGlobalTemplatesRefusesAfterTheFileFailedAtStartUp)
{
    // A typo after a hand edit: the second template never registers.
    const fs::path kFile = DataFile(SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE);
    const std::string kBroken = "import App\n"
                                "First = App.SensorProperty_Create(\"First Sensor\")\n"
                                "App.g_kModelPropertyManager.RegisterGlobalTemplate(First)\n"
                                "First.SetMaxConditon(800.0)\n"
                                "Second = App.SensorProperty_Create(\"Second Sensor\")\n"
                                "App.g_kModelPropertyManager.RegisterGlobalTemplate(Second)\n";
    WriteFile(kFile, kBroken);
    Start();
    EXPECT_TRUE(ComesForward());
    EXPECT_THAT(Output()->GetText(), HasSubstr("AttributeError"));

    Command(ID_FILE_SAVEGLOBALTEMPLATES);

    ASSERT_EQ(m_kHook.GetMessageTexts().size(), 1u);
    const std::string kMessage = m_kHook.GetMessageTexts()[0];
    EXPECT_THAT(kMessage, HasSubstr(kFile.string()));
    EXPECT_THAT(kMessage, HasSubstr("line 4: AttributeError"));
    EXPECT_THAT(kMessage, HasSubstr("SetMaxConditon"));
    EXPECT_EQ(ReadFile(kFile), kBroken);
}

TEST_F(OutputWindowTest, SaveGlobalTemplatesWritesTheFileWhenThereWasNoneAtStartUp)
{
    const fs::path kFile = DataFile(SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE);
    fs::remove(kFile);
    Start();

    Command(ID_FILE_SAVEGLOBALTEMPLATES);

    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
    EXPECT_THAT(ReadFile(kFile), HasSubstr("import App"));
}

TEST_F(OutputWindowTest, AnUnreadableScriptRunsNoLoaderOfAnEarlierScript)
{
    Start();
    CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
    ASSERT_NE(pkDoc, nullptr);
    const std::string kCounting = Model("Counting.py");
    WriteFile(kCounting, "def LoadPropertySet(pObj):\n    print('counting loader ran')\n");
    ASSERT_EQ(Open(kCounting), pkDoc);
    ASSERT_EQ(CountOf(Output()->GetText(), "counting loader ran"), 1);
    const size_t uiProperties = PropertyCount(pkDoc);

    const std::string kLocked = Model("Locked.py");
    WriteFile(kLocked, "def LoadPropertySet(pObj):\n    print('locked loader ran')\n");
    fs::permissions(kLocked, fs::perms::none);
    {
        WithoutReadOverride kGuard;
        std::FILE* pkProbe = std::fopen(kLocked.c_str(), "r");
        const bool bReadable = pkProbe != nullptr;
        if (bReadable)
            std::fclose(pkProbe);
        ASSERT_FALSE(bReadable) << "the script must be unreadable for this test";
        Open(kLocked);
    }

    EXPECT_EQ(m_kHook.GetMessageTexts(), std::vector<std::string>{"Couldn't load script file."});
    EXPECT_EQ(CountOf(Output()->GetText(), "counting loader ran"), 1);
    EXPECT_THAT(Output()->GetText(), Not(HasSubstr("locked loader ran")));
    EXPECT_EQ(PropertyCount(pkDoc), uiProperties);
}
