#include "controls/win32/WinControl.h"

#include <stdexcept>

std::wstring TWinControl::Text() const {
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(handle_, text.data(), length + 1)));
    return text;
}

void TWinControl::SetText(std::wstring_view text) {
    SetWindowTextW(handle_, std::wstring(text).c_str());
}

void TWinControl::SetFont(HFONT font) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    MoveWindow(handle_, left, top, width, height, TRUE);
}

RECT TWinControl::Bounds() const {
    RECT rect{};
    GetWindowRect(handle_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void TWinControl::SetVisible(bool visible) {
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

bool TWinControl::Visible() const {
    return (GetWindowLongW(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TWinControl::CreateWindowOf(const wchar_t* windowClass, HWND parent, int id, DWORD style,
                                 DWORD extendedStyle, std::wstring_view text) {
    id_ = id;
    handle_ =
        CreateWindowExW(extendedStyle, windowClass, std::wstring(text).c_str(), style | WS_CHILD, 0,
                        0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!handle_) {
        throw std::runtime_error("The window cannot make its control (system error " +
                                 std::to_string(GetLastError()) + ")");
    }
}
