#include "afx_cmdtarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, (AFX_PMSG)0, (AFX_PMSG_HANDLE)0}};
    static const AFX_MSGMAP map = {0, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(const AFX_MSGMAP* map, UINT nMessage, UINT nCode,
                                                     UINT nID) {
    for (; map != 0; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : 0) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
            if (entry->nMessage == nMessage && entry->nCode == nCode && nID >= entry->nID &&
                nID <= entry->nLastID) {
                return entry;
            }
        }
    }
    return 0;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode) {
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(GetMessageMap(), WM_COMMAND, static_cast<UINT>(nCode), nID);
    if (entry == 0 || entry->nSig != AfxSig_vv) return FALSE;
    (this->*entry->pfn)();
    return TRUE;
}
