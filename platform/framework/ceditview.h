// CEditView: here only what the installer needs of it, an object that stands
// as the application's main window and never gets a window of its own.
#pragma once

#include "cwnd.h"

class CEditView : public CWnd {
public:
    CEditView() {}
    virtual ~CEditView() {}
};
