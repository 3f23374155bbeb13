#include "editor/LocateTool.h"

LocateTool::LocateTool(CNifView* pkView) : CameraTool(pkView), m_spPicker(MakeNearestHitPicker()) {}

LocateTool::~LocateTool() = default;

int LocateTool::End(int x, int y)
{
    if (NiPicker::Record* pkHit = PickAt(*m_spPicker, x, y))
        ShowPick(*pkHit);
    return 0;
}
