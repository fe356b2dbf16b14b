// Message maps: a table from (message, notification code, control ID) to a handler,
// walked from the most derived class to its bases.
#pragma once

#include <windows.h>

class CWnd;
class CDC;

// MFC's name for the whole family of WM_CTLCOLORxxx messages.
constexpr UINT WM_CTLCOLOR_ALL = 0x0019;

enum AfxSig {
    AfxSig_vv,    // void (void): commands and notifications
    AfxSig_hDWw,  // HBRUSH (CDC*, CWnd*, UINT): WM_CTLCOLOR
};

typedef void (CWnd::*AFX_PMSG)();
typedef HBRUSH (CWnd::*AFX_PMSG_CTLCOLOR)(CDC*, CWnd*, UINT);

// One handler per entry; the signature tag says which member holds it.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // 0 ends the table
    UINT nCode;
    UINT nID;
    AfxSig nSig;
    AFX_PMSG pfn;
    AFX_PMSG_CTLCOLOR pfnCtlColor;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                             \
    {                                                                           \
        typedef theClass ThisClass;                                             \
        typedef baseClass TheBaseClass;                                         \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                       \
            {0, 0, 0, AfxSig_vv, nullptr, nullptr}};                                     \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, \
                                              &_messageEntries[0]};             \
        return &messageMap;                                                     \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr},
#define ON_CONTROL(code, id, memberFxn)                                             \
    {WM_COMMAND, (UINT)(code), (UINT)(id), AfxSig_vv,                               \
     static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_WM_CTLCOLOR()                                                   \
    {WM_CTLCOLOR_ALL, 0, 0, AfxSig_hDWw, nullptr,                          \
     static_cast<AFX_PMSG_CTLCOLOR>(&ThisClass::OnCtlColor)},
