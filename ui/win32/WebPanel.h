#pragma once

#include <windows.h>
// After windows.h:
#include <exdisp.h>

#include <cstdint>
#include <span>
#include <string_view>

// The web panel's browser: the system's WebBrowser control, hosted by ATL's
// control container (atl.dll). The window creates it with its layout, hands
// it the stored state and, at the end of the show sequence, tells it once
// which page to load. The program handles none of its events.
class TWebBrowser {
  public:
    TWebBrowser() = default;
    ~TWebBrowser();
    TWebBrowser(const TWebBrowser&) = delete;
    TWebBrowser& operator=(const TWebBrowser&) = delete;

    // Creates the control in a child window of parent and loads the stored
    // state into it (a block that cannot be read is left out: the control
    // starts fresh). Raises std::runtime_error when the control cannot be
    // created.
    void Create(HWND parent, int id, std::span<const std::uint8_t> controlData);
    HWND Handle() const { return host_; }

    // Starts loading the page in the panel itself: a plain GET, no flags, no
    // target frame, no body, no headers. Raises std::runtime_error when the
    // navigation cannot start.
    void Navigate(std::u16string_view address);

  private:
    HWND host_ = nullptr;
    IUnknown* container_ = nullptr;
    IUnknown* control_ = nullptr;
    IWebBrowser2* browser_ = nullptr;  // asked for at the first navigation
};
