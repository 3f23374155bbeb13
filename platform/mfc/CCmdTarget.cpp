#include "platform/mfc/CCmdTarget.h"

#include "platform/mfc/CCmdUI.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_akEntries[] = {{0, 0, 0, 0, AfxSig_end, {.pfn_v = nullptr}}};
    static const AFX_MSGMAP s_kMap = {nullptr, &s_akEntries[0]};
    return &s_kMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo)
{
    return DispatchFromMap(WM_COMMAND, nID, nCode, pExtra, pInfo);
}

BOOL CCmdTarget::DispatchNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    AFX_NOTIFY kNotify{pResult, pNMHDR};
    return DispatchFromMap(WM_NOTIFY, nID, static_cast<int>(pNMHDR->code), &kNotify, nullptr);
}

BOOL CCmdTarget::DispatchFromMap(UINT nMessage, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo)
{
    for (const AFX_MSGMAP* pkMap = GetMessageMap(); pkMap != nullptr;
         pkMap = pkMap->pfnGetBaseMap != nullptr ? pkMap->pfnGetBaseMap() : nullptr)
    {
        for (const AFX_MSGMAP_ENTRY* pkEntry = pkMap->lpEntries; pkEntry->nSig != AfxSig_end; ++pkEntry)
        {
            if (pkEntry->nMessage != nMessage || pkEntry->nCode != nCode || nID < pkEntry->nID ||
                nID > pkEntry->nLastID)
                continue;
            if (pInfo != nullptr)
            {
                pInfo->pTarget = this;
                return TRUE;
            }
            switch (pkEntry->nSig)
            {
            case AfxSig_v:
                (this->*pkEntry->pfn.pfn_v)();
                return TRUE;
            case AfxSig_vCmdUI:
            {
                auto* pkCmdUI = static_cast<CCmdUI*>(pExtra);
                pkCmdUI->m_bContinueRouting = FALSE;
                (this->*pkEntry->pfn.pfn_vCmdUI)(pkCmdUI);
                // A handler that continues routing leaves the item to the next target.
                const BOOL bHandled = !pkCmdUI->m_bContinueRouting;
                pkCmdUI->m_bContinueRouting = FALSE;
                return bHandled;
            }
            case AfxSig_vUINT:
                (this->*pkEntry->pfn.pfn_vUINT)(nID);
                return TRUE;
            case AfxSig_bUINT:
                // A handler that declines lets the search go on.
                if ((this->*pkEntry->pfn.pfn_bUINT)(nID))
                    return TRUE;
                continue;
            case AfxSig_vNotify:
            {
                auto* pkNotify = static_cast<AFX_NOTIFY*>(pExtra);
                (this->*pkEntry->pfn.pfn_vNotify)(pkNotify->pNMHDR, pkNotify->pResult);
                return TRUE;
            }
            case AfxSig_vNotifyRng:
            {
                auto* pkNotify = static_cast<AFX_NOTIFY*>(pExtra);
                (this->*pkEntry->pfn.pfn_vNotifyRng)(nID, pkNotify->pNMHDR, pkNotify->pResult);
                return TRUE;
            }
            default:
                break;
            }
        }
    }
    return FALSE;
}
