#include "editor/SelectionTool.h"

#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"

SelectionTool::SelectionTool(CNifView* pkView) : CameraTool(pkView), m_spPicker(MakeNearestHitPicker()) {}

SelectionTool::~SelectionTool() = default;

int SelectionTool::End(int x, int y)
{
    NiPicker::Record* pkHit = PickAt(*m_spPicker, x, y);
    if (pkHit == nullptr)
        return 0;
    if (auto* pkDoc = m_pkView->GetModelDocument())
        pkDoc->SetSelectedNode(pkHit->m_spObject);
    ShowPick(*pkHit);
    return 0;
}
