#pragma once

#include "platform/mfc/Afx.h"
#include "platform/mfc/CObject.h"

class CCmdTarget;
class CCmdUI;

// Message maps: static tables of (message, code, id range, handler) that a class chains to
// its base's table. A handler is kept as a member pointer of CCmdTarget in the union member
// of its signature.
using AFX_PMSG = void (CCmdTarget::*)();

enum AfxSig : int
{
    AfxSig_end = 0,
    AfxSig_v,          // void ()
    AfxSig_vCmdUI,     // void (CCmdUI*)
    AfxSig_vUINT,      // void (UINT id): command ranges
    AfxSig_bUINT,      // BOOL (UINT id): command ranges that may decline
    AfxSig_vNotify,    // void (NMHDR*, LRESULT*)
    AfxSig_vNotifyRng, // void (UINT id, NMHDR*, LRESULT*)
};

union AFX_HANDLER
{
    AFX_PMSG pfn_v;
    void (CCmdTarget::*pfn_vCmdUI)(CCmdUI*);
    void (CCmdTarget::*pfn_vUINT)(UINT);
    BOOL (CCmdTarget::*pfn_bUINT)(UINT);
    void (CCmdTarget::*pfn_vNotify)(NMHDR*, LRESULT*);
    void (CCmdTarget::*pfn_vNotifyRng)(UINT, NMHDR*, LRESULT*);
};

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    int nCode;
    UINT nID;
    UINT nLastID;
    int nSig;
    AFX_HANDLER pfn;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled instead of calling when a caller only asks whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget = nullptr;
};

// The extra argument of a WM_NOTIFY dispatch.
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                        \
    {                                                                                                        \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass = theClass;                                                                          \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY s_akEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {                                                                                                        \
        0, 0, 0, 0, AfxSig_end,                                                                              \
        {                                                                                                    \
            .pfn_v = nullptr                                                                                 \
        }                                                                                                    \
    }                                                                                                        \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP s_kMap = {&TheBaseClass::GetThisMessageMap, &s_akEntries[0]};                    \
    return &s_kMap;                                                                                          \
    }

#define AFX_HANDLER_OF(member, sig, fn)                                                                      \
    {                                                                                                        \
        .member = static_cast<sig>(&ThisClass::fn)                                                           \
    }

#define ON_COMMAND(id, fn)                                                                                   \
    {WM_COMMAND, CN_COMMAND, (UINT)(id),                                                                     \
     (UINT)(id), AfxSig_v,   AFX_HANDLER_OF(pfn_v, void(CCmdTarget::*)(), fn)},
#define ON_COMMAND_RANGE(idFirst, idLast, fn)                                                                \
    {WM_COMMAND,     CN_COMMAND,   (UINT)(idFirst),                                                          \
     (UINT)(idLast), AfxSig_vUINT, AFX_HANDLER_OF(pfn_vUINT, void(CCmdTarget::*)(UINT), fn)},
#define ON_COMMAND_EX_RANGE(idFirst, idLast, fn)                                                             \
    {WM_COMMAND,     CN_COMMAND,   (UINT)(idFirst),                                                          \
     (UINT)(idLast), AfxSig_bUINT, AFX_HANDLER_OF(pfn_bUINT, BOOL(CCmdTarget::*)(UINT), fn)},
#define ON_UPDATE_COMMAND_UI(id, fn)                                                                         \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id),                                                           \
     (UINT)(id), AfxSig_vCmdUI,        AFX_HANDLER_OF(pfn_vCmdUI, void(CCmdTarget::*)(CCmdUI*), fn)},
#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, fn)                                                      \
    {WM_COMMAND,     CN_UPDATE_COMMAND_UI, (UINT)(idFirst),                                                  \
     (UINT)(idLast), AfxSig_vCmdUI,        AFX_HANDLER_OF(pfn_vCmdUI, void(CCmdTarget::*)(CCmdUI*), fn)},
#define ON_CONTROL(code, id, fn)                                                                             \
    {WM_COMMAND, (code), (UINT)(id), (UINT)(id), AfxSig_v, AFX_HANDLER_OF(pfn_v, void(CCmdTarget::*)(), fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn)                                                                              \
    {WM_NOTIFY,  (int)(code),    (UINT)(id),                                                                 \
     (UINT)(id), AfxSig_vNotify, AFX_HANDLER_OF(pfn_vNotify, void(CCmdTarget::*)(NMHDR*, LRESULT*), fn)},
#define ON_NOTIFY_RANGE(code, idFirst, idLast, fn)                                                           \
    {WM_NOTIFY,         (int)(code),                                                                         \
     (UINT)(idFirst),   (UINT)(idLast),                                                                      \
     AfxSig_vNotifyRng, AFX_HANDLER_OF(pfn_vNotifyRng, void(CCmdTarget::*)(UINT, NMHDR*, LRESULT*), fn)},

// An object that commands reach: it looks them up in its message map and, in the classes
// that route, passes them on (view -> document -> frame -> application).
class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    CCmdTarget() = default;
    ~CCmdTarget() override;

    // nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra is the CCmdUI), a control
    // notification, or a WM_NOTIFY code (pExtra is an AFX_NOTIFY) when bNotify is set.
    // With pInfo the handler is only looked for, not called. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo);

    // Runs a WM_NOTIFY through this target's own map.
    BOOL DispatchNotify(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

private:
    BOOL DispatchFromMap(UINT nMessage, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo);
};
