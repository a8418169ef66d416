#pragma once

#include "controls/win32/WinControl.h"

// The in-house panel. It adds nothing to a panel: a plain window that holds
// controls, with an optional raised bevel one pixel wide. Tab moves through
// its controls as through the window's own, and what they report (commands,
// colours, notifications) goes to the window that holds the panel.
class TMPanel : public TWinControl {
  public:
    void Create(HWND parent, int id, bool raisedBevel);
};
