#include "properties/SKPropertyScriptFile.h"

#include "core/SKReplacingFile.h"
#include "core/SKStream.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKScriptWriter.h"

namespace
{
constexpr const char* TEMPLATE_SEPARATOR = "#################################################";
constexpr const char* FILE_SEPARATOR = "#####################################################";

// Keeps the text the writers give it.
class TextStream : public SKStream
{
public:
    void WriteCLine(const char* pcText) override
    {
        if (pcText != nullptr)
            m_kText += pcText;
    }
    void Write(const void* pvBuffer, int32_t iCount) override
    {
        if (pvBuffer != nullptr && iCount > 0)
            m_kText.append(static_cast<const char*>(pvBuffer), static_cast<size_t>(iCount));
    }
    std::string& Text() { return m_kText; }

private:
    std::string m_kText;
};

bool IsUtf8(const std::string& kText)
{
    for (size_t i = 0; i < kText.size();)
    {
        const auto ucLead = static_cast<unsigned char>(kText[i]);
        const size_t uiLength = ucLead < 0x80           ? 1
                                : (ucLead >> 5) == 0x6  ? 2
                                : (ucLead >> 4) == 0xE  ? 3
                                : (ucLead >> 3) == 0x1E ? 4
                                                        : 0;
        if (uiLength == 0 || i + uiLength > kText.size())
            return false;
        for (size_t j = 1; j < uiLength; ++j)
            if ((static_cast<unsigned char>(kText[i + j]) & 0xC0) != 0x80)
                return false;
        i += uiLength;
    }
    return true;
}

// A path shown in a comment line: a line end in it would end the comment and make the rest
// code, and bytes that are not UTF-8 would make the whole file unreadable.
std::string CommentText(const char* pcText)
{
    std::string kText = pcText != nullptr ? pcText : "";
    const bool bUtf8 = IsUtf8(kText);
    for (char& c : kText)
    {
        const auto ucByte = static_cast<unsigned char>(c);
        if (ucByte < 0x20 || ucByte == 0x7F || (ucByte >= 0x80 && !bUtf8))
            c = '?';
    }
    return kText;
}

void WriteTemplates(SKScriptWriter& kWriter, const SKModelPropertyManager::Templates& kTemplates,
                    const char* pcRegister)
{
    for (SKModelProperty* pkTemplate : kTemplates)
    {
        kWriter.Line(TEMPLATE_SEPARATOR);
        const std::string kVariable = pkTemplate->WriteCreateLine(kWriter);
        kWriter.Line("App.g_kModelPropertyManager.", pcRegister, "(", kVariable, ")");
    }
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Whole texts

std::string SKPropertyScriptFile::PropertyScriptText(const char* pcPath, const char* pcParentScript,
                                                     const SKModelPropertySet& kSet,
                                                     const SKModelPropertyManager& kManager)
{
    TextStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Line("# ", CommentText(pcPath));
    kWriter.Line("# This file was automatically generated - modify at your own risk.");
    kWriter.Text("# \n\n");
    kWriter.Line("import App");
    kWriter.Line("import GlobalPropertyTemplates");
    const bool bParent = pcParentScript != nullptr && *pcParentScript != '\0';
    if (bParent)
    {
        const SKScriptWriter::Quoted kParent{pcParentScript};
        kWriter.Line("\t# The line below is needed by the editor to restore");
        kWriter.Line("\t# the name of the parent script.");
        kWriter.Line("ParentPropertyScript = ", kParent);
        // Outside the editor the parent runs first; reloading it means a script run again sees
        // the parent as it is now, not as it was first imported.
        kWriter.Line("if not ('g_bIsFitwright' in dir(App)):");
        kWriter.Line("\tParentModule = __import__(", kParent, ", globals(), locals(), ['*'])");
        kWriter.Line("\timport importlib");
        kWriter.Line("\timportlib.reload(ParentModule)");
    }
    kWriter.Line("# Setting up local templates.");
    WriteLocalTemplates(kWriter, kManager);
    kWriter.Text("\n# Property load function.\n");
    kWriter.Line("def LoadPropertySet(pObj):");
    kWriter.Line("\t\"Sets up the object's properties.\"");
    if (bParent)
    {
        kWriter.Line("\tif not ('g_bIsFitwright' in dir(App)):");
        kWriter.Line("\t\tParentModule.LoadPropertySet(pObj)");
    }
    WriteLoadPropertySetBody(kWriter, kSet, kManager);
    return std::move(kStream.Text());
}

std::string SKPropertyScriptFile::GlobalTemplatesText(const SKModelPropertyManager& kManager)
{
    TextStream kStream;
    SKScriptWriter kWriter(kStream);
    kWriter.Line("# Global property templates file.");
    kWriter.Line("# This file was automatically generated.");
    kWriter.Line(FILE_SEPARATOR);
    kWriter.Line("import App");
    WriteGlobalTemplates(kWriter, kManager);
    kWriter.Line(FILE_SEPARATOR);
    return std::move(kStream.Text());
}

// ---------------------------------------------------------------------------------------------------------
// Blocks

void SKPropertyScriptFile::WriteLocalTemplates(SKScriptWriter& kWriter,
                                               const SKModelPropertyManager& kManager)
{
    WriteTemplates(kWriter, kManager.GetLocalTemplates(), "RegisterLocalTemplate");
}

void SKPropertyScriptFile::WriteGlobalTemplates(SKScriptWriter& kWriter,
                                                const SKModelPropertyManager& kManager)
{
    WriteTemplates(kWriter, kManager.GetGlobalTemplates(), "RegisterGlobalTemplate");
}

void SKPropertyScriptFile::WriteLoadPropertySetBody(SKScriptWriter& kWriter, const SKModelPropertySet& kSet,
                                                    const SKModelPropertyManager& kManager)
{
    for (SKNamedModelPropertyList* pkList : kSet.GetPropertyLists())
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
        {
            SKModelProperty* pkTemplate = pkInstance->GetOriginalTemplate();
            if (pkTemplate == nullptr)
                continue;
            const auto pcName = pkTemplate->GetName().GetCString();
            kWriter.Line("\tprop = App.g_kModelPropertyManager.FindByName(",
                         SKScriptWriter::Quoted{pcName.get()}, ", App.SKModelPropertyManager.",
                         kManager.IsGlobalTemplate(pkTemplate) ? "GLOBAL_TEMPLATES)" : "LOCAL_TEMPLATES)");
            kWriter.Line("\tif (prop != None):");
            kWriter.Line("\t\tpObj.AddToSet(", SKScriptWriter::Quoted{pkList->GetName()}, ", prop)");
        }
}

// ---------------------------------------------------------------------------------------------------------
// Saving

bool SKPropertyScriptFile::SaveText(const char* pcPath, const std::string& kText)
{
    if (pcPath == nullptr || *pcPath == '\0')
        return false;
    SKReplacingFile kFile(pcPath);
    return kFile.Write(kText.data(), kText.size()) && kFile.Commit();
}

bool SKPropertyScriptFile::SavePropertyScript(const char* pcPath, const char* pcParentScript,
                                              const SKModelPropertySet& kSet,
                                              const SKModelPropertyManager& kManager)
{
    return SaveText(pcPath, PropertyScriptText(pcPath, pcParentScript, kSet, kManager));
}

bool SKPropertyScriptFile::SaveGlobalTemplates(const char* pcFolder, const SKModelPropertyManager& kManager)
{
    std::string kPath = pcFolder != nullptr ? pcFolder : "";
    if (!kPath.empty() && kPath.back() != '/')
        kPath += '/';
    kPath += GLOBAL_TEMPLATES_FILE;
    return SaveText(kPath.c_str(), GlobalTemplatesText(kManager));
}
