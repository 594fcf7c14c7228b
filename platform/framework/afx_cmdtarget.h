// Message maps: the table of messages and commands that a class handles,
// chained to its base class's table.
#pragma once

#include <windows.h>

class CCmdTarget;
// Handlers are kept as pointers to members of CCmdTarget, one field per
// return type, so that no handler is ever called through a pointer of
// another function type.
typedef void (CCmdTarget::*AFX_PMSG)(void);
typedef HICON (CCmdTarget::*AFX_PMSG_HANDLE)(void);

// Marks message handlers in class declarations.
#define afx_msg

// How a handler is called.
enum AfxSig {
    AfxSig_end = 0,
    AfxSig_vv,  // void OnX()
    AfxSig_hv,  // HCURSOR/HICON OnX() (WM_QUERYDRAGICON)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message
    UINT nCode;     // notification code for WM_COMMAND
    UINT nID;       // control or command id, 0 for a window message
    UINT nLastID;
    UINT nSig;
    AFX_PMSG pfn;              // AfxSig_vv
    AFX_PMSG_HANDLE pfnHandle; // AfxSig_hv
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                               \
protected:                                                  \
    static const AFX_MSGMAP* GetThisMessageMap();           \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                              \
        typedef theClass ThisClass __attribute__((unused));                        \
        typedef baseClass TheBaseClass;                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                        \
    {0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0, (AFX_PMSG_HANDLE)0}                    \
    }                                                                            \
    ;                                                                            \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,      \
                                          &_messageEntries[0]};                  \
    return &messageMap;                                                          \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, 0, (WORD)(id), (WORD)(id), AfxSig_vv, static_cast<AFX_PMSG>(&memberFxn), \
     (AFX_PMSG_HANDLE)0},
#define ON_BN_CLICKED(id, memberFxn)                                                                     \
    {WM_COMMAND, BN_CLICKED, (WORD)(id), (WORD)(id), AfxSig_vv, static_cast<AFX_PMSG>(&memberFxn), \
     (AFX_PMSG_HANDLE)0},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, AfxSig_vv, static_cast<AFX_PMSG>(&ThisClass::OnPaint), (AFX_PMSG_HANDLE)0},
#define ON_WM_QUERYDRAGICON()                         \
    {WM_QUERYDRAGICON, 0, 0, 0, AfxSig_hv, (AFX_PMSG)0, \
     static_cast<AFX_PMSG_HANDLE>(&ThisClass::OnQueryDragIcon)},

// The root of every message-map chain.
class CCmdTarget {
public:
    CCmdTarget() {}
    virtual ~CCmdTarget() {}

    // Calls the handler of a WM_COMMAND with this notification code and id,
    // if the class's map holds one.
    BOOL OnCmdMsg(UINT nID, int nCode);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // The entry for a message (and, for WM_COMMAND, code and id) in the
    // chain of maps, or none.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT nMessage, UINT nCode,
                                                    UINT nID);
};
