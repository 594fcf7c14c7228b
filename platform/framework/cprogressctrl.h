// CProgressCtrl: the common controls' progress bar.
#pragma once

#include <commctrl.h>

#include "cwnd.h"

class CProgressCtrl : public CWnd {
public:
    CProgressCtrl() {}
    virtual ~CProgressCtrl() {}

    // The bar takes each bound in 16 bits.
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    // Return the bar's answer: the previous position, the previous step.
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos), 0)); }
    int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep), 0)); }
};
