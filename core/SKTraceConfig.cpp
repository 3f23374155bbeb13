#include "core/SKTraceConfig.h"

#include "core/SKTraceConsoleOutput.h"
#include "core/SKTraceDebugWindowOutput.h"
#include "core/SKTraceLogFileOutput.h"
#include "core/SKTraceScriptFunctionOutput.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>

namespace
{

std::vector<std::unique_ptr<SKTraceOutput>>& Outputs()
{
    static std::vector<std::unique_ptr<SKTraceOutput>> s_kOutputs;
    return s_kOutputs;
}

bool StartsWith(std::string_view kText, std::string_view kStart)
{
    return kText.substr(0, kStart.size()) == kStart;
}

// The text between the given delimiters, in order, inside the item; false when they are
// missing or out of order.
bool Between(std::string_view kItem, char cOpen, char cClose, std::string& kInside)
{
    size_t uiOpen = kItem.find(cOpen);
    size_t uiClose = kItem.find(cClose);
    if (uiOpen == std::string_view::npos || uiClose == std::string_view::npos || uiClose < uiOpen)
        return false;
    kInside = std::string(kItem.substr(uiOpen + 1, uiClose - uiOpen - 1));
    return true;
}

std::unique_ptr<SKTraceOutput> MakeOutput(std::string_view kItem)
{
    size_t uiStart = kItem.find_first_not_of(" \t");
    kItem = uiStart == std::string_view::npos ? std::string_view() : kItem.substr(uiStart);

    if (StartsWith(kItem, "DebugWindow"))
        return std::make_unique<SKTraceDebugWindowOutput>();
    if (StartsWith(kItem, "LogFile"))
    {
        std::string kName;
        if (!Between(kItem, '(', ')', kName))
            return nullptr;
        return std::make_unique<SKTraceLogFileOutput>(kName.c_str());
    }
    if (StartsWith(kItem, "Console"))
        return std::make_unique<SKTraceConsoleOutput>();
    if (StartsWith(kItem, "PythonFunc"))
    {
        std::string kInside;
        if (!Between(kItem, '(', ')', kInside))
            return nullptr;
        size_t uiColon = kInside.find(':');
        if (uiColon == std::string::npos)
            return nullptr;
        return std::make_unique<SKTraceScriptFunctionOutput>(kInside.substr(0, uiColon),
                                                             kInside.substr(uiColon + 1));
    }
    return nullptr;
}

void AddType(NiStringHashMap<int32_t>& kSet, const char* pcText)
{
    if (!pcText)
        return;
    std::string_view kText(pcText);
    size_t uiStart = kText.find_first_not_of(" \t");
    if (uiStart == std::string_view::npos)
        return;
    size_t uiEnd = kText.find_last_not_of(" \t\n");
    kSet.SetAt(kText.substr(uiStart, uiEnd - uiStart + 1), 1);
}

// The text after the first ":" of a keyword line, or null when the line has none.
const char* AfterColon(const std::string& kLine)
{
    size_t uiColon = kLine.find(':');
    return uiColon == std::string::npos ? nullptr : kLine.c_str() + uiColon + 1;
}

} // namespace

void SKTraceConfig::LoadTraceConfig()
{
    DeleteOutputs();
    std::ifstream kFile(FILE_NAME, std::ios::binary);
    if (!kFile)
        return;
    std::string kLine;
    while (std::getline(kFile, kLine))
    {
        kLine = kLine.substr(0, kLine.find('#'));
        if (!kLine.empty() && kLine.back() == '\r')
            kLine.pop_back();
        const char* pcRest = AfterColon(kLine);
        if (!pcRest)
            continue;
        // Keywords count only at the very start of a line.
        if (StartsWith(kLine, "Outputs"))
            ParseTraceOutputs(pcRest);
        else if (StartsWith(kLine, "ShowType"))
            AddShowType(pcRest);
        else if (StartsWith(kLine, "ExcludeType"))
            AddExcludeType(pcRest);
    }
}

void SKTraceConfig::ParseTraceOutputs(const char* pcText)
{
    // A later "Outputs" line replaces the table.
    DeleteOutputs();
    if (!pcText)
        return;
    std::vector<std::unique_ptr<SKTraceOutput>>& kOutputs = Outputs();
    std::string_view kText(pcText);
    size_t uiSlots = size_t(std::count(kText.begin(), kText.end(), ',')) + 1;
    kOutputs.resize(uiSlots);
    size_t uiNextFree = 0;
    for (size_t uiStart = 0; uiStart <= kText.size();)
    {
        size_t uiEnd = std::min(kText.find(',', uiStart), kText.size());
        if (std::unique_ptr<SKTraceOutput> spOutput = MakeOutput(kText.substr(uiStart, uiEnd - uiStart)))
            kOutputs[uiNextFree++] = std::move(spOutput);
        uiStart = uiEnd + 1;
    }
}

void SKTraceConfig::DeleteOutputs()
{
    std::vector<std::unique_ptr<SKTraceOutput>>& kOutputs = Outputs();
    while (!kOutputs.empty())
        kOutputs.pop_back();
}

void SKTraceConfig::AddShowType(const char* pcText)
{
    AddType(GetShowTypes(), pcText);
}

void SKTraceConfig::AddExcludeType(const char* pcText)
{
    AddType(GetExcludeTypes(), pcText);
}

int32_t SKTraceConfig::GetOutputCount()
{
    return static_cast<int32_t>(Outputs().size());
}

SKTraceOutput* SKTraceConfig::GetOutput(int32_t iIndex)
{
    std::vector<std::unique_ptr<SKTraceOutput>>& kOutputs = Outputs();
    if (iIndex < 0 || size_t(iIndex) >= kOutputs.size())
        return nullptr;
    return kOutputs[size_t(iIndex)].get();
}

NiStringHashMap<int32_t>& SKTraceConfig::GetShowTypes()
{
    static NiStringHashMap<int32_t> s_kTypes;
    return s_kTypes;
}

NiStringHashMap<int32_t>& SKTraceConfig::GetExcludeTypes()
{
    static NiStringHashMap<int32_t> s_kTypes;
    return s_kTypes;
}
