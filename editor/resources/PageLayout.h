#pragma once

#include "platform/mfc/Resources.h"

#include <initializer_list>

// Lays out a dialog template from rows, top to bottom in columns, in dialog units: a label and
// its edits (or other controls) per row, group boxes around runs of rows, and a new column to
// the right when asked. The template's size follows what was placed.
class PageLayout
{
public:
    PageLayout(UINT nID, const char* pcCaption, int iLabelWidth = 80);

    // A label and edits of the given width in a row; an empty label leaves its room blank.
    PageLayout& Edits(const char* pcLabel, std::initializer_list<UINT> kEdits, int iWidth = 40,
                      DWORD dwStyle = 0);
    // Texts over the edit columns of the next rows (as "X", "Y", "Z").
    PageLayout& Heads(std::initializer_list<const char*> kHeads, int iWidth = 40);
    // A label and one wide edit.
    PageLayout& TextEdit(const char* pcLabel, UINT nID, int iWidth = 120);
    // A label and a drop-down list.
    PageLayout& List(const char* pcLabel, UINT nID, int iWidth = 80);
    PageLayout& Check(UINT nID, const char* pcText, int iWidth = 150);
    // Check boxes side by side, after a label.
    PageLayout& Checks(const char* pcLabel, std::initializer_list<std::pair<UINT, const char*>> kChecks,
                       int iWidth = 22);
    // Push buttons side by side, after a label (which may be empty).
    PageLayout& Buttons(const char* pcLabel, std::initializer_list<std::pair<UINT, const char*>> kButtons,
                        int iWidth = 50);
    // A line of text (as high as iLines lines).
    PageLayout& Text(const char* pcText, int iWidth = 180, int iLines = 1);
    // The last row gets a push button at its end.
    PageLayout& ButtonAfter(UINT nID, const char* pcText, int iWidth = 40);

    PageLayout& BeginGroup(const char* pcTitle);
    PageLayout& EndGroup();
    // The next rows start at the top of a new column right of everything placed so far.
    PageLayout& NextColumn();
    PageLayout& Gap(int iHeight = 4);
    PageLayout& LabelWidth(int iWidth);

    mfc::DialogResource Finish();

private:
    void Add(mfc::ControlKind eKind, UINT nID, const char* pcText, int iX, int iY, int iCX, int iCY,
             DWORD dwStyle = 0);
    void Row(int iHeight);
    int Label(const char* pcLabel);

    struct Group
    {
        const char* pcTitle;
        int iX;
        int iY;
        int iControls;
    };

    mfc::DialogResource m_kDialog;
    int m_iLabelWidth;
    int m_iX = 7;
    int m_iY = 7;
    int m_iRight = 7;
    int m_iBottom = 7;
    std::vector<Group> m_kGroups;
};
