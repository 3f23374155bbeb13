#pragma once

#include "editor/CameraTool.h"

#include <memory>

class NiPicker;

// Picks with a click: the nearest object under the release point becomes the document's selected node, and
// the hit its pick point and normal. A click on empty space changes nothing. The tool stays marked active
// after the release.
class SelectionTool : public CameraTool
{
public:
    explicit SelectionTool(CNifView* pkView);
    ~SelectionTool() override;

    int End(int x, int y) override;

private:
    std::unique_ptr<NiPicker> m_spPicker;
};
