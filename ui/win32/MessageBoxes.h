#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "ui/FormView.h"

// The program's message boxes in Win32: the system's message box with the
// captions and buttons of ui/MessageTexts. Each is modal to the program (its
// owner, the window, is disabled while it is up), centred on the screen,
// and puts itself on the clipboard on Ctrl+C, as the system's box does.

// The window the boxes belong to (none until it exists).
void SetMessageBoxOwner(HWND owner);

// Caption: the application title; no icon; one button "确定" (Enter, Esc
// and the close box dismiss it).
void ShowInformation(std::u16string_view text);
// Caption "确认"; question icon; "是" (default) and "否"; Esc answers No,
// the close box Cancel, which callers treat as No.
zelk::ui::ConfirmAnswer Confirm(std::u16string_view text);
// Caption: the application title; stop icon; the system's OK button. The
// message gets a final "." as ErrorBoxText gives it.
void ShowError(std::u16string_view message);
// The fatal error box of a window that could not be created: task-modal,
// caption "Application Error", stop icon.
void ShowFatalError(std::u16string_view errorKind, std::u16string_view message,
                    std::uintptr_t address);
