#pragma once

#include <string>

class SKModelPropertyManager;
class SKModelPropertySet;
class SKScriptWriter;

// The two script files the editor saves and runs again later: a model's property script (its
// local templates, the parent script it builds on and LoadPropertySet, which attaches templates
// to named nodes) and the shared global templates script. Every line goes through one
// SKScriptWriter, so names and texts are quoted, numbers are formatted in the "C" locale and
// each template gets a variable of its own; the templates write their own lines
// (SKModelProperty::WriteCreateLine).
//
// The texts are built in memory and saved under a temporary name beside the target, which is
// renamed over it only when the whole file is written: a failed save leaves the old file intact.
class SKPropertyScriptFile
{
public:
    static constexpr const char* GLOBAL_TEMPLATES_FILE = "GlobalPropertyTemplates.py";

    // --- Whole texts.
    // The property script: the header naming pcPath, the imports, the parent block (when
    // pcParentScript is neither null nor empty), the manager's local templates and
    // LoadPropertySet over the set's instances.
    static std::string PropertyScriptText(const char* pcPath, const char* pcParentScript,
                                          const SKModelPropertySet& kSet,
                                          const SKModelPropertyManager& kManager);
    // The global templates script: its header, the manager's global templates, the closing line.
    static std::string GlobalTemplatesText(const SKModelPropertyManager& kManager);

    // --- The blocks of those texts.
    // Per local template, in list order: the separator, its lines, its registration.
    static void WriteLocalTemplates(SKScriptWriter& kWriter, const SKModelPropertyManager& kManager);
    // Per instance of every node, in order: look its template up among the global or the local
    // templates and attach it to the node.
    static void WriteLoadPropertySetBody(SKScriptWriter& kWriter, const SKModelPropertySet& kSet,
                                         const SKModelPropertyManager& kManager);
    // Per global template, in list order: the separator, its lines, its registration.
    static void WriteGlobalTemplates(SKScriptWriter& kWriter, const SKModelPropertyManager& kManager);

    // --- Saving.
    // Writes the text to the path through a temporary file renamed over it; false (and the
    // file as it was) when any step fails.
    static bool SaveText(const char* pcPath, const std::string& kText);
    static bool SavePropertyScript(const char* pcPath, const char* pcParentScript,
                                   const SKModelPropertySet& kSet, const SKModelPropertyManager& kManager);
    // GlobalPropertyTemplates.py in the folder.
    static bool SaveGlobalTemplates(const char* pcFolder, const SKModelPropertyManager& kManager);
};
