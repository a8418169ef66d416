#include "controls/win32/MPanel.h"

namespace {

constexpr wchar_t kPanelClass[] = L"ZelkPanel";

LRESULT CALLBACK PanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return SendMessageW(GetParent(window), message, wParam, lParam);
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            if (GetWindowLongPtrW(window, GWLP_USERDATA)) {
                RECT rect;
                GetClientRect(window, &rect);
                DrawEdge(dc, &rect, BDR_RAISEDOUTER, BF_RECT);
            }
            EndPaint(window, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterPanelClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = PanelProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kPanelClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

void TMPanel::Create(HWND parent, int id, bool raisedBevel) {
    RegisterPanelClass();
    CreateWindowOf(kPanelClass, parent, id, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, L"");
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, raisedBevel ? 1 : 0);
}
