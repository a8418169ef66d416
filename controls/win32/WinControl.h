#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// A child control: one window of a system class (or of the family's panel
// class), made by Create and destroyed with its parent. The family's classes
// derive from it and add only their metadata.
class TWinControl {
  public:
    TWinControl() = default;
    virtual ~TWinControl() = default;
    TWinControl(const TWinControl&) = delete;
    TWinControl& operator=(const TWinControl&) = delete;

    HWND Handle() const { return handle_; }
    int Id() const { return id_; }

    // Text as the window holds it, UTF-16.
    std::wstring Text() const;
    void SetText(std::wstring_view text);
    void SetFont(HFONT font);
    // Place and size in the parent's client area, in pixels.
    void SetBounds(int left, int top, int width, int height);
    RECT Bounds() const;
    void SetVisible(bool visible);
    bool Visible() const;

  protected:
    // Makes the window; raises std::runtime_error when the system refuses.
    void CreateWindowOf(const wchar_t* windowClass, HWND parent, int id, DWORD style,
                        DWORD extendedStyle, std::wstring_view text);

  private:
    HWND handle_ = nullptr;
    int id_ = 0;
};
