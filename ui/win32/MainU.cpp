#include "ui/win32/MainU.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

#include "ui/ControlData.h"
#include "ui/win32/ApplicationTitle.h"
#include "ui/win32/BusyCursor.h"
#include "ui/win32/MessageBoxes.h"
#include "ui/win32/ScreenPlacement.h"
#include "ui/win32/Utf16Text.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TfrmMian";

// The form's layout at 96 pixels per inch: its client area, the bars and
// the sizes the toolkit does not give.
constexpr int kClientWidth = 916;
constexpr int kClientHeight = 453;
constexpr int kMenuHeight = 41;
constexpr int kSentencePanelHeight = 136;
constexpr int kStatusBarHeight = 19;
constexpr int kEditHeight = 24;      // one line of the font and the box's frame
constexpr int kCheckBoxHeight = 21;  // the caption's line and the box

constexpr COLORREF kMoneyGreen = RGB(192, 220, 192);

// The controls' identifiers; none is IDOK or IDCANCEL, which Enter and Esc send.
enum ControlId : int {
    kStatusBar = 100,
    kMenuPanel,
    kCloseButton,
    kSplitButton,
    kCopyButton,
    kSplitAndCopyButton,
    kKuCheckBox,
    kEditPanel,
    kKeyBox,
    kReplacementBox,
    kQueryButton,
    kSaveButton,
    kDeleteButton,
    kSentencePanel,
    kSentenceLabel,
    kResultLabel,
    kSentenceBox,
    kResultBox,
    kWebPanel,
};

void RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpfnWndProc = DefWindowProcW;  // replaced at creation
        windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
        windowClass.hIconSm = static_cast<HICON>(
            LoadImageW(windowClass.hInstance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) throw std::runtime_error("The window class cannot be registered");
}

bool IsPushButton(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Button") == 0 &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON;
}

}  // namespace

TfrmMian::TfrmMian(MainWindowOptions options) : MainForm(std::move(options.toolPage)) {
    RegisterWindowClass();
    const HDC screen = GetDC(nullptr);
    dotsPerInch_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    // The layout fills a client area of 916 × 453 (924 × 480 with the frame
    // of the system it was drawn on).
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT outer{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    handle_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, L"frmMian", style, CW_USEDEFAULT,
                              CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!handle_) throw std::runtime_error("The window cannot be created");
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));
    try {
        CreateControls(options);
    } catch (...) {
        DestroyWindow(handle_);
        throw;
    }
    SetMessageBoxOwner(handle_);
}

TfrmMian::~TfrmMian() {
    SetMessageBoxOwner(nullptr);
    if (handle_ && IsWindow(handle_)) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
    WebBrowser1.reset();
    if (font_) DeleteObject(font_);
    if (resultBackground_) DeleteObject(resultBackground_);
}

int TfrmMian::Scaled(int pixels) const {
    return MulDiv(pixels, dotsPerInch_, 96);
}

void TfrmMian::CreateControls(const MainWindowOptions& options) {
    // 宋体 with a character height of 16 pixels, GB2312's character set.
    font_ = CreateFontW(-Scaled(16), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, L"宋体");
    resultBackground_ = CreateSolidBrush(kMoneyGreen);

    // Creation order is tab order: the tool bar (with the maintenance panel
    // before 库), the sentence boxes, the web panel; the status bar is no stop.
    pnlMenu.Create(handle_, kMenuPanel, true);
    btnClose.Create(pnlMenu.Handle(), kCloseButton, L"关闭");
    btnZelk.Create(pnlMenu.Handle(), kSplitButton, L"拆分");
    btnCopy.Create(pnlMenu.Handle(), kCopyButton, L"复制");
    btnZelkAndCopy.Create(pnlMenu.Handle(), kSplitAndCopyButton, L"拆分并复制");
    pnlEdit.Create(pnlMenu.Handle(), kEditPanel, false);
    chr1.Create(pnlEdit.Handle(), kKeyBox, false);
    chr2.Create(pnlEdit.Handle(), kReplacementBox, false);
    btnOK.Create(pnlEdit.Handle(), kQueryButton, L"查询");
    btnSave.Create(pnlEdit.Handle(), kSaveButton, L"保存");
    btnDel.Create(pnlEdit.Handle(), kDeleteButton, L"删除");
    cbKu.Create(pnlMenu.Handle(), kKuCheckBox, L"库");
    pnlEdit.SetVisible(false);

    MPanel1.Create(handle_, kSentencePanel, false);
    edt1.Create(MPanel1.Handle(), kSentenceBox, false);
    edt2.Create(MPanel1.Handle(), kResultBox, true);
    MLabel1.Create(MPanel1.Handle(), kSentenceLabel, L"原始句子");
    MLabel2.Create(MPanel1.Handle(), kResultLabel, L"拆分后句子");
    edt1.SetText(L"拆功，阴阳，请让精神好，骆驼，难捉狗");

    if (options.webPanel) {
        const std::vector<std::uint8_t> state =
            zelk::ui::control_data::MakeBlock({24236, 6800});  // 916 × 257 pixels
        WebBrowser1 = std::make_unique<TWebBrowser>();
        WebBrowser1->Create(handle_, kWebPanel, state);
    }
    StatusBar1 = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"",
        WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0, 0,
        handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBar)),
        GetModuleHandleW(nullptr), nullptr);
    if (!StatusBar1) throw std::runtime_error("The window cannot make its status bar");

    for (TWinControl* control : std::initializer_list<TWinControl*>{
             &btnClose, &btnZelk, &btnCopy, &btnZelkAndCopy, &cbKu, &chr1, &chr2, &btnOK, &btnSave,
             &btnDel, &edt1, &edt2, &MLabel1, &MLabel2})
        control->SetFont(font_);

    // The controls that are not docked keep their place in their panel.
    btnClose.SetBounds(Scaled(1), Scaled(1), Scaled(75), Scaled(39));
    btnZelk.SetBounds(Scaled(76), Scaled(1), Scaled(75), Scaled(39));
    btnCopy.SetBounds(Scaled(151), Scaled(1), Scaled(75), Scaled(39));
    btnZelkAndCopy.SetBounds(Scaled(226), Scaled(1), Scaled(111), Scaled(39));
    cbKu.SetBounds(Scaled(337), Scaled(1), Scaled(41), Scaled(kCheckBoxHeight));
    pnlEdit.SetBounds(Scaled(378), Scaled(1), Scaled(411), Scaled(39));
    chr1.SetBounds(Scaled(8), Scaled(8), Scaled(49), Scaled(kEditHeight));
    chr2.SetBounds(Scaled(64), Scaled(7), Scaled(89), Scaled(kEditHeight));
    btnOK.SetBounds(Scaled(160), Scaled(8), Scaled(75), Scaled(25));
    btnSave.SetBounds(Scaled(240), Scaled(8), Scaled(75), Scaled(25));
    btnDel.SetBounds(Scaled(328), Scaled(8), Scaled(75), Scaled(25));
    MLabel1.SetBounds(Scaled(8), Scaled(16), Scaled(64), Scaled(16));
    MLabel2.SetBounds(Scaled(8), Scaled(72), Scaled(80), Scaled(16));
    edt1.SetBounds(Scaled(8), Scaled(40), Scaled(897), Scaled(kEditHeight));
    edt2.SetBounds(Scaled(8), Scaled(96), Scaled(897), Scaled(kEditHeight));
    SetInitialMetadata();
    LayOut();
}

void TfrmMian::SetInitialMetadata() {
    // The values the layout gives the family's own properties.
    for (TMLabel* label : {&MLabel1, &MLabel2}) label->SetProperty("MOid", 0);
    for (TMcxButton* button :
         {&btnClose, &btnZelk, &btnCopy, &btnZelkAndCopy, &btnOK, &btnSave, &btnDel})
        button->SetProperty("MValInt", 0);
    for (TMcxTextEdit* box : {&edt1, &edt2, &chr1, &chr2}) {
        box->SetProperty("MOid", 0);
        box->SetProperty("MReadonlyLevel", 0);
        box->SetProperty("MNotNull", false);
        box->SetProperty("MEqual", false);
        box->SetProperty("MSave", false);
    }
    cbKu.SetProperty("MOid", 0);
    cbKu.SetProperty("MReadonlyLevel", 0);
    cbKu.SetProperty("MNotNull", false);
    cbKu.SetProperty("MSave", false);
}

// Places the docked controls: the tool bar and the sentence panel at the
// top, the status bar at the bottom, the web panel in what is left.
void TfrmMian::LayOut() {
    RECT client;
    GetClientRect(handle_, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int menu = Scaled(kMenuHeight);
    const int sentences = Scaled(kSentencePanelHeight);
    const int status = Scaled(kStatusBarHeight);
    pnlMenu.SetBounds(0, 0, width, menu);
    MPanel1.SetBounds(0, menu, width, sentences);
    MoveWindow(StatusBar1, 0, height - status, width, status, TRUE);
    if (WebBrowser1) {
        MoveWindow(WebBrowser1->Handle(), 0, menu + sentences, width,
                   std::max(0, height - menu - sentences - status), TRUE);
    }
}

// --- Showing -----------------------------------------------------------------

void TfrmMian::Show(int showCommand) {
    const bool minimised = showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
                           showCommand == SW_SHOWMINNOACTIVE || showCommand == SW_FORCEMINIMIZE;
    if (minimised) {
        ShowWindow(handle_, SW_SHOWMINNOACTIVE);
        return;
    }
    RunShowSequence();
    ShowWindow(handle_, showCommand == SW_SHOWMAXIMIZED || showCommand == SW_MAXIMIZE
                            ? SW_SHOWMAXIMIZED
                            : SW_SHOWNORMAL);
    SetForegroundWindow(handle_);
    if (!GetFocus() || !IsChild(handle_, GetFocus())) SetFocus(btnClose.Handle());
}

// The show sequence, then the placement: before the window is visible.
void TfrmMian::RunShowSequence() {
    if (!showSequencePending_) return;
    showSequencePending_ = false;
    Guarded([this] { FormShow(); });
    CentreOnScreen(handle_);
    shown_ = true;
    Guarded([this] { FormResize(); });
}

// --- Messages ------------------------------------------------------------------

LRESULT CALLBACK TfrmMian::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* form = reinterpret_cast<TfrmMian*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT TfrmMian::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            LayOut();
            if (wParam != SIZE_MINIMIZED && showSequencePending_) {
                RunShowSequence();  // the first restore of a window started minimised
                if (!GetFocus()) SetFocus(btnClose.Handle());
            } else if (shown_ && wParam != SIZE_MINIMIZED) {
                Guarded([this] { FormResize(); });
            }
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || LOWORD(wParam) == IDOK) Command(LOWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == edt2.Handle()) {
                SetBkColor(reinterpret_cast<HDC>(wParam), kMoneyGreen);
                return reinterpret_cast<LRESULT>(resultBackground_);
            }
            break;
        case WM_SETCURSOR:
            if (BusyCursor::Shown()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            // The control that had the focus has it again when the window is
            // active again (after a message box, another program).
            if (LOWORD(wParam) == WA_INACTIVE) {
                focusBeforeDeactivation_ = GetFocus();
            } else if (focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) &&
                       IsWindowVisible(focusBeforeDeactivation_)) {
                SetFocus(focusBeforeDeactivation_);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (CloseRequested()) DestroyWindow(handle_);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends once this returns: the sentence is stored now.
            if (wParam) SessionEnd(true);
            return 0;
        case WM_DESTROY:
            SetMessageBoxOwner(nullptr);
            PostQuitMessage(exitStatus_);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void TfrmMian::Command(int id) {
    switch (id) {
        case IDOK: {
            // Enter presses the button that has the focus; the window has no
            // default button.
            const HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus) && IsPushButton(focus))
                SendMessageW(focus, BM_CLICK, 0, 0);
            return;
        }
        case kCloseButton:
            Guarded([this] { btnCloseClick(); });
            return;
        case kSplitButton:
            Guarded([this] { btnZelkClick(); });
            return;
        case kCopyButton:
            Guarded([this] { btnCopyClick(); });
            return;
        case kSplitAndCopyButton:
            Guarded([this] { btnZelkAndCopyClick(); });
            return;
        case kKuCheckBox:
            Guarded([this] { cbKuClick(); });
            return;
        case kQueryButton:
            Guarded([this] { btnOKClick(); });
            return;
        case kSaveButton:
            Guarded([this] { btnSaveClick(); });
            return;
        case kDeleteButton:
            Guarded([this] { btnDelClick(); });
            return;
        default:
            return;
    }
}

// --- The form's side of the behaviour ----------------------------------------

const TMcxTextEdit& TfrmMian::BoxControl(Box box) const {
    switch (box) {
        case Box::Sentence:
            return edt1;
        case Box::Result:
            return edt2;
        case Box::Key:
            return chr1;
        case Box::Replacement:
            return chr2;
    }
    return edt1;
}

std::u16string TfrmMian::BoxText(Box box) const {
    return ToUtf16(BoxControl(box).Text());
}

void TfrmMian::SetBoxText(Box box, std::u16string_view text) {
    const std::wstring shown = ToWide(text);
    const TMcxTextEdit& control = BoxControl(box);
    if (control.Text() != shown) SetWindowTextW(control.Handle(), shown.c_str());
}

bool TfrmMian::BoxModified(Box box) const {
    return SendMessageW(BoxControl(box).Handle(), EM_GETMODIFY, 0, 0) != 0;
}

void TfrmMian::FocusBox(Box box) {
    SetFocus(BoxControl(box).Handle());
}

void TfrmMian::SelectAll(Box box) {
    SendMessageW(BoxControl(box).Handle(), EM_SETSEL, 0, -1);
}

bool TfrmMian::HasSelection(Box box) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(BoxControl(box).Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return start != end;
}

void TfrmMian::CopySelection(Box box) {
    SendMessageW(BoxControl(box).Handle(), WM_COPY, 0, 0);
}

void TfrmMian::SetBoxWidth(Box box, int width) {
    const TMcxTextEdit& control = BoxControl(box);
    const RECT bounds = control.Bounds();
    MoveWindow(control.Handle(), bounds.left, bounds.top, width, bounds.bottom - bounds.top, TRUE);
}

int TfrmMian::OuterWidth() const {
    RECT outer;
    GetWindowRect(handle_, &outer);
    return outer.right - outer.left;
}

void TfrmMian::SetTitles(std::u16string_view title) {
    SetWindowTextW(handle_, ToWide(title).c_str());
    SetApplicationTitle(ToWide(title));
}

bool TfrmMian::KuChecked() const {
    return cbKu.Checked();
}

void TfrmMian::SetPanelVisible(bool visible) {
    pnlEdit.SetVisible(visible);
}

void TfrmMian::NavigateWebPanel(std::u16string_view address) {
    if (WebBrowser1) WebBrowser1->Navigate(address);
}

void TfrmMian::Repaint() {
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::unique_ptr<zelk::ui::BusyIndicator> TfrmMian::ShowBusy() {
    return std::make_unique<BusyCursor>();
}

void TfrmMian::ShowInformation(std::u16string_view text) {
    ::ShowInformation(text);
}

zelk::ui::ConfirmAnswer TfrmMian::Confirm(std::u16string_view text) {
    return ::Confirm(text);
}

void TfrmMian::ShowError(std::u16string_view message) {
    ::ShowError(message);
}

void TfrmMian::CloseWindow() {
    SendMessageW(handle_, WM_CLOSE, 0, 0);
}

void TfrmMian::PostClose() {
    PostMessageW(handle_, WM_CLOSE, 0, 0);
}

void TfrmMian::Quit(int status) {
    // Ends the message loop, an open message box's first, without asking
    // the window to close again.
    exitStatus_ = status;
    PostQuitMessage(status);
}

void TfrmMian::ReportToLog(std::string_view message) {
    const std::string line = std::string(message) + "\n";
    OutputDebugStringA(line.c_str());
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}
