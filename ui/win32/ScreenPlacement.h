#pragma once

#include <windows.h>

// Moves a top-level window to the middle of the screen: left and top are
// half the room left over, rounded down, and 0 where the window is larger.
void CentreOnScreen(HWND window);
