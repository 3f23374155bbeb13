#include "editor/resources/PageLayout.h"

#include <algorithm>

namespace
{
constexpr int MARGIN = 7;
constexpr int ROW = 15;
constexpr int EDIT_HEIGHT = 12;
constexpr int BUTTON_HEIGHT = 14;
constexpr int SPACING = 3;
constexpr int GROUP_TOP = 11;
constexpr int GROUP_SIDE = 6;
} // namespace

PageLayout::PageLayout(UINT nID, const char* pcCaption, int iLabelWidth) : m_iLabelWidth(iLabelWidth)
{
    m_kDialog.nID = nID;
    m_kDialog.kCaption = pcCaption;
}

void PageLayout::Add(mfc::ControlKind eKind, UINT nID, const char* pcText, int iX, int iY, int iCX, int iCY,
                     DWORD dwStyle)
{
    m_kDialog.kControls.emplace_back(eKind, nID, pcText, iX, iY, iCX, iCY, dwStyle);
    m_iRight = std::max(m_iRight, iX + iCX);
    m_iBottom = std::max(m_iBottom, iY + iCY);
}

void PageLayout::Row(int iHeight)
{
    m_iY += iHeight;
}

int PageLayout::Label(const char* pcLabel)
{
    if (pcLabel != nullptr && *pcLabel != '\0')
        Add(mfc::ControlKind::Static, 0, pcLabel, m_iX, m_iY + 2, m_iLabelWidth - 2, 8);
    return m_iX + m_iLabelWidth;
}

PageLayout& PageLayout::Edits(const char* pcLabel, std::initializer_list<UINT> kEdits, int iWidth,
                              DWORD dwStyle)
{
    int iX = Label(pcLabel);
    for (UINT nID : kEdits)
    {
        Add(mfc::ControlKind::Edit, nID, "", iX, m_iY, iWidth, EDIT_HEIGHT, dwStyle);
        iX += iWidth + SPACING;
    }
    Row(ROW);
    return *this;
}

PageLayout& PageLayout::Heads(std::initializer_list<const char*> kHeads, int iWidth)
{
    int iX = m_iX + m_iLabelWidth;
    for (const char* pcHead : kHeads)
    {
        Add(mfc::ControlKind::Static, 0, pcHead, iX + 2, m_iY, iWidth - 2, 8);
        iX += iWidth + SPACING;
    }
    Row(10);
    return *this;
}

PageLayout& PageLayout::TextEdit(const char* pcLabel, UINT nID, int iWidth)
{
    return Edits(pcLabel, {nID}, iWidth);
}

PageLayout& PageLayout::List(const char* pcLabel, UINT nID, int iWidth)
{
    Add(mfc::ControlKind::ComboList, nID, "", Label(pcLabel), m_iY, iWidth, EDIT_HEIGHT + 2);
    Row(ROW + 2);
    return *this;
}

PageLayout& PageLayout::Check(UINT nID, const char* pcText, int iWidth)
{
    Add(mfc::ControlKind::CheckBox, nID, pcText, m_iX, m_iY, iWidth, 10);
    Row(ROW - 2);
    return *this;
}

PageLayout& PageLayout::Checks(const char* pcLabel,
                               std::initializer_list<std::pair<UINT, const char*>> kChecks, int iWidth)
{
    int iX = Label(pcLabel);
    for (const auto& [nID, pcText] : kChecks)
    {
        Add(mfc::ControlKind::CheckBox, nID, pcText, iX, m_iY + 1, iWidth, 10);
        iX += iWidth + SPACING;
    }
    Row(ROW);
    return *this;
}

PageLayout& PageLayout::Buttons(const char* pcLabel,
                                std::initializer_list<std::pair<UINT, const char*>> kButtons, int iWidth)
{
    int iX = Label(pcLabel);
    for (const auto& [nID, pcText] : kButtons)
    {
        Add(mfc::ControlKind::Button, nID, pcText, iX, m_iY, iWidth, BUTTON_HEIGHT);
        iX += iWidth + SPACING;
    }
    Row(ROW + 3);
    return *this;
}

PageLayout& PageLayout::Text(const char* pcText, int iWidth, int iLines)
{
    Add(mfc::ControlKind::Static, 0, pcText, m_iX, m_iY, iWidth, 8 * iLines + 1);
    Row(8 * iLines + 3);
    return *this;
}

PageLayout& PageLayout::ButtonAfter(UINT nID, const char* pcText, int iWidth)
{
    // Beside the controls of the row just placed.
    int iRowRight = m_iX;
    for (const mfc::DialogControl& kControl : m_kDialog.kControls)
        if (kControl.y >= m_iY - ROW - 3 && kControl.y < m_iY)
            iRowRight = std::max(iRowRight, kControl.x + kControl.cx);
    Add(mfc::ControlKind::Button, nID, pcText, iRowRight + SPACING, m_iY - ROW - 1, iWidth, BUTTON_HEIGHT);
    return *this;
}

PageLayout& PageLayout::BeginGroup(const char* pcTitle)
{
    m_kGroups.push_back({pcTitle, m_iX, m_iY, static_cast<int>(m_kDialog.kControls.size())});
    m_iX += GROUP_SIDE;
    Row(GROUP_TOP);
    return *this;
}

PageLayout& PageLayout::EndGroup()
{
    const Group kGroup = m_kGroups.back();
    m_kGroups.pop_back();
    int iRight = kGroup.iX + 40;
    for (size_t i = static_cast<size_t>(kGroup.iControls); i < m_kDialog.kControls.size(); ++i)
        iRight = std::max(iRight, m_kDialog.kControls[i].x + m_kDialog.kControls[i].cx);
    m_iX = kGroup.iX;
    // The frame goes before the controls it holds, so that they draw over it.
    const mfc::DialogControl kFrame(mfc::ControlKind::GroupBox, 0, kGroup.pcTitle, kGroup.iX, kGroup.iY,
                                    iRight + GROUP_SIDE - kGroup.iX, m_iY - kGroup.iY);
    m_kDialog.kControls.insert(m_kDialog.kControls.begin() + kGroup.iControls, kFrame);
    m_iRight = std::max(m_iRight, kFrame.x + kFrame.cx);
    m_iBottom = std::max(m_iBottom, kFrame.y + kFrame.cy);
    Row(SPACING + 1);
    return *this;
}

PageLayout& PageLayout::NextColumn()
{
    m_iX = m_iRight + MARGIN + 3;
    m_iY = MARGIN;
    return *this;
}

PageLayout& PageLayout::Gap(int iHeight)
{
    Row(iHeight);
    return *this;
}

PageLayout& PageLayout::LabelWidth(int iWidth)
{
    m_iLabelWidth = iWidth;
    return *this;
}

mfc::DialogResource PageLayout::Finish()
{
    m_kDialog.cx = m_iRight + MARGIN;
    m_kDialog.cy = m_iBottom + MARGIN;
    return m_kDialog;
}
