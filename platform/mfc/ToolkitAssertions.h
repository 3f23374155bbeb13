#pragma once

#include <string>

namespace mfc
{
// The toolkit's assertions: installed, each one is written to the debugger output (the
// editor's output window and the terminal) as one line and the program carries on; no dialog,
// no stop. An observer (a test) also receives the line.
class ToolkitAssertions
{
public:
    using Observer = void (*)(const std::string& kText);

    // Takes the toolkit's assertions; installing again changes nothing.
    static void Install();
    // The previous observer comes back; null removes it.
    static Observer SetObserver(Observer pfnObserver);
};
} // namespace mfc
