#include "ui/win32/WebPanel.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "base/Unicode.h"
#include "ui/ControlData.h"
#include "ui/win32/Utf16Text.h"

namespace {

// The WebBrowser control's class.
constexpr wchar_t kWebBrowserClass[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxCreateControlExFunction = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**,
                                                      IUnknown**, REFIID, IUnknown*);

// ATL's control container, loaded once.
AtlAxCreateControlExFunction ControlContainer() {
    static const AtlAxCreateControlExFunction create = []() -> AtlAxCreateControlExFunction {
        const HMODULE atl = LoadLibraryW(L"atl.dll");
        if (!atl) return nullptr;
        const auto init = reinterpret_cast<AtlAxWinInitFunction>(
            reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
        if (!init || !init()) return nullptr;
        return reinterpret_cast<AtlAxCreateControlExFunction>(
            reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
    }();
    return create;
}

std::string HexCode(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "%.8lx", static_cast<unsigned long>(result));
    return text;
}

// The text of a failed call: the control's own description, without its
// trailing full stops, blanks and control characters; else the system's
// text for the code; else "OLE error" and the code.
std::string FailureText(HRESULT result) {
    std::wstring text;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description) {
            text = description;
            SysFreeString(description);
        }
        info->Release();
    }
    if (text.empty()) {
        wchar_t* system = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(result), 0,
                           reinterpret_cast<wchar_t*>(&system), 0, nullptr);
        if (length && system) text.assign(system, length);
        LocalFree(system);
    }
    while (!text.empty() && (text.back() == L'.' || text.back() <= L' ')) text.pop_back();
    if (text.empty()) return "OLE error " + HexCode(result);
    return zelk::base::Utf16ToUtf8(ToUtf16(text));
}

// A memory stream over the stored state, for the control to load.
IStream* StoredState(std::span<const std::uint8_t> controlData) {
    if (!zelk::ui::control_data::ReadExtent(controlData)) return nullptr;
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
    ULONG written = 0;
    LARGE_INTEGER start{};
    if (FAILED(
            stream->Write(controlData.data(), static_cast<ULONG>(controlData.size()), &written)) ||
        FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        stream->Release();
        return nullptr;
    }
    return stream;
}

}  // namespace

TWebBrowser::~TWebBrowser() {
    if (browser_) browser_->Release();
    if (control_) control_->Release();
    if (container_) container_->Release();
}

void TWebBrowser::Create(HWND parent, int id, std::span<const std::uint8_t> controlData) {
    const AtlAxCreateControlExFunction create = ControlContainer();
    if (!create)
        throw std::runtime_error("Class not registered: the control container atl.dll is missing");
    host_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                            0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), nullptr);
    if (!host_) throw std::runtime_error("The window cannot make the web panel");
    IStream* state = StoredState(controlData);
    const HRESULT result =
        create(kWebBrowserClass, host_, state, &container_, &control_, IID_NULL, nullptr);
    if (state) state->Release();
    if (FAILED(result) || !control_) {
        throw std::runtime_error("The web browser control cannot be created: " +
                                 FailureText(result));
    }
}

void TWebBrowser::Navigate(std::u16string_view address) {
    if (!browser_ &&
        FAILED(control_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
        browser_ = nullptr;
        throw std::runtime_error("Interface not supported");
    }
    // The four optional arguments passed as missing.
    VARIANT missing;
    VariantInit(&missing);
    missing.vt = VT_ERROR;
    missing.scode = DISP_E_PARAMNOTFOUND;
    BSTR url = SysAllocStringLen(ToWide(address).c_str(), static_cast<UINT>(address.size()));
    const HRESULT result = browser_->Navigate(url, &missing, &missing, &missing, &missing);
    SysFreeString(url);
    if (FAILED(result)) throw std::runtime_error(FailureText(result));
}
