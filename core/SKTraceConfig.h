#pragma once

#include "core/SKTraceOutput.h"
#include "scene/object/NiStringHashMap.h"

#include <cstdint>
#include <memory>
#include <vector>

// The trace configuration, read once at start-up from "SKTraceStream.cfg" in the current
// folder. Lines (from a "#" on, a comment) that begin with
//   Outputs: item, item, ...     DebugWindow, LogFile(name), Console, PythonFunc(module:function)
//   ShowType: name               a trace type name to show (the whole rest of the line)
//   ExcludeType: name            a trace type name to exclude
// build the output table and the two type sets. Nothing in the engine writes trace text,
// so the visible effect is that the log files named are created empty.
class SKTraceConfig
{
public:
    static constexpr const char* FILE_NAME = "SKTraceStream.cfg";

    // Reads the file; without one, the table is empty.
    static void LoadTraceConfig();
    // Builds the output table from the text after "Outputs:": one slot per comma-separated
    // item, the outputs in item order, null slots left over at the end for items that made
    // none.
    static void ParseTraceOutputs(const char* pcText);
    // Deletes the outputs from the last to the first; the table is then empty.
    static void DeleteOutputs();

    // Trim the text and enter it as one name (an empty one is ignored).
    static void AddShowType(const char* pcText);
    static void AddExcludeType(const char* pcText);

    static int32_t GetOutputCount();
    // Null for an empty slot or an index outside the table.
    static SKTraceOutput* GetOutput(int32_t iIndex);
    // Type name -> 1.
    static NiStringHashMap<int32_t>& GetShowTypes();
    static NiStringHashMap<int32_t>& GetExcludeTypes();
};
