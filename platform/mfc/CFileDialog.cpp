#include "platform/mfc/CFileDialog.h"

#include "platform/mfc/CWnd.h"
#include "platform/mfc/ModalService.h"

#include <wx/filedlg.h>

#include <algorithm>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pcDefExt, const char* pcFileName, DWORD dwFlags,
                         const char* pcFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(pcDefExt), m_strFileName(pcFileName),
      m_dwFlags(dwFlags), m_strFilter(pcFilter), m_pParentWnd(pParentWnd)
{
}

CFileDialog::~CFileDialog() = default;

void CFileDialog::SetPathName(const char* pcPathName)
{
    m_strPathName = pcPathName;
    const int iSlash = std::max(m_strPathName.ReverseFind('/'), m_strPathName.ReverseFind('\\'));
    const int iDot = m_strPathName.ReverseFind('.');
    if (!m_strDefExt.IsEmpty() && iDot <= iSlash && !m_strPathName.IsEmpty())
        m_strPathName += (m_strDefExt.GetAt(0) == '.' ? "" : ".") + m_strDefExt;
}

CString CFileDialog::GetFileName() const
{
    const int iSlash = std::max(m_strPathName.ReverseFind('/'), m_strPathName.ReverseFind('\\'));
    return m_strPathName.Mid(iSlash + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString kName = GetFileName();
    const int iDot = kName.ReverseFind('.');
    return iDot < 0 ? CString() : kName.Mid(iDot + 1);
}

int CFileDialog::DoModal()
{
    mfc::ModalRequest kRequest;
    kRequest.eKind = mfc::ModalRequest::Kind::FileDialog;
    kRequest.pkFileDialog = this;
    int iAnswer = IDCANCEL;
    if (mfc::ModalService::AskHook(kRequest, iAnswer))
        return iAnswer;

    // "Name (*.x)|*.x||": the toolkit wants no closing bars.
    std::string kFilter = m_strFilter.Str();
    while (!kFilter.empty() && kFilter.back() == '|')
        kFilter.pop_back();
    // A pattern in the initial name only picks the folder.
    std::string kDir;
    std::string kName = m_strFileName.Str();
    const size_t uiSlash = kName.find_last_of("/\\");
    if (uiSlash != std::string::npos)
    {
        kDir = kName.substr(0, uiSlash + 1);
        kName = kName.substr(uiSlash + 1);
    }
    if (kName.find_first_of("*?") != std::string::npos)
        kName.clear();
    long lStyle = m_bOpenFileDialog ? wxFD_OPEN : wxFD_SAVE;
    if (m_bOpenFileDialog && (m_dwFlags & OFN_FILEMUSTEXIST))
        lStyle |= wxFD_FILE_MUST_EXIST;
    if (!m_bOpenFileDialog && (m_dwFlags & OFN_OVERWRITEPROMPT))
        lStyle |= wxFD_OVERWRITE_PROMPT;
    wxWindow* pkParent = m_pParentWnd != nullptr ? m_pParentWnd->GetToolkitWindow() : nullptr;
    wxFileDialog kDialog(pkParent, m_bOpenFileDialog ? "Open" : "Save As", wxString::FromUTF8(kDir.c_str()),
                         wxString::FromUTF8(kName.c_str()),
                         kFilter.empty() ? wxString(wxFileSelectorDefaultWildcardStr)
                                         : wxString::FromUTF8(kFilter.c_str()),
                         lStyle);
    if (kDialog.ShowModal() != wxID_OK)
        return IDCANCEL;
    SetPathName(kDialog.GetPath().utf8_str());
    return IDOK;
}
