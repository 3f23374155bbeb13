#include "platform/mfc/ToolkitAssertions.h"

#include "platform/win32/DebugOutput.h"

#include <wx/debug.h>
#include <wx/string.h>

#include <atomic>

namespace
{
std::atomic<mfc::ToolkitAssertions::Observer> s_pfnObserver{nullptr};

std::string Describe(const wxString& kFile, int iLine, const wxString& kFunction, const wxString& kCondition,
                     const wxString& kMessage)
{
    std::string kText = std::string(kFile.utf8_str()) + "(" + std::to_string(iLine) +
                        "): toolkit assertion \"" + std::string(kCondition.utf8_str()) + "\" failed";
    if (!kFunction.empty())
        kText += " in " + std::string(kFunction.utf8_str()) + "()";
    if (!kMessage.empty())
        kText += ": " + std::string(kMessage.utf8_str());
    return kText + "\n";
}

void OnToolkitAssertion(const wxString& kFile, int iLine, const wxString& kFunction,
                        const wxString& kCondition, const wxString& kMessage)
{
    // An assertion raised while one is being reported (by the output's own toolkit calls)
    // is dropped rather than reported forever.
    thread_local bool s_bReporting = false;
    if (s_bReporting)
        return;
    s_bReporting = true;
    const std::string kText = Describe(kFile, iLine, kFunction, kCondition, kMessage);
    OutputDebugStringA(kText.c_str());
    if (mfc::ToolkitAssertions::Observer pfnObserver = s_pfnObserver.load())
        pfnObserver(kText);
    s_bReporting = false;
}
} // namespace

namespace mfc
{
void ToolkitAssertions::Install()
{
    wxSetAssertHandler(&OnToolkitAssertion);
}

ToolkitAssertions::Observer ToolkitAssertions::SetObserver(Observer pfnObserver)
{
    return s_pfnObserver.exchange(pfnObserver);
}
} // namespace mfc
