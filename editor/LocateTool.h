#pragma once

#include "editor/CameraTool.h"

#include <memory>

class NiPicker;

// Locates a point with a click: the nearest hit under the release point becomes the document's pick point and
// normal; the selection stays. A click on empty space changes nothing. The tool stays marked active after the
// release.
class LocateTool : public CameraTool
{
public:
    explicit LocateTool(CNifView* pkView);
    ~LocateTool() override;

    int End(int x, int y) override;

private:
    std::unique_ptr<NiPicker> m_spPicker;
};
