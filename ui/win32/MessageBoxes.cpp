#include "ui/win32/MessageBoxes.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "ui/MessageTexts.h"
#include "ui/win32/ApplicationTitle.h"
#include "ui/win32/ScreenPlacement.h"
#include "ui/win32/Utf16Text.h"

namespace {

HWND owner_ = nullptr;

// What the next box changes of the system's: its button captions, and for
// the confirmation box what Esc and the close box answer.
struct BoxChanges {
    std::vector<std::pair<int, std::wstring>> captions;
    bool escapeAnswersNo = false;
};

thread_local BoxChanges changes_;
thread_local HHOOK hook_ = nullptr;
// The box that is up, for Ctrl+C: its window, caption and text, and the
// hook that sees its keys.
struct OpenBox {
    HWND window = nullptr;
    HHOOK keyHook = nullptr;
    std::u16string caption;
    std::u16string text;
};
thread_local OpenBox box_;

constexpr UINT_PTR kSubclassId = 7305;

// The confirmation box: the system's Yes/No box has no answer for Esc and no
// close box; Esc answers No and the close box Cancel here.
LRESULT CALLBACK ConfirmationProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        EndDialog(box, IDCANCEL);
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(box, IDNO);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(box, ConfirmationProcedure, kSubclassId);
    return DefSubclassProc(box, message, wParam, lParam);
}

std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return ToUtf16(text);
}

void PutOnClipboard(HWND owner, const std::u16string& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    if (const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

// Ctrl+C, with no other modifier, in the box's modal loop: a beep, and the
// box on the clipboard as plain text (the caption, the text, the buttons as
// they stand).
LRESULT CALLBACK BoxKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    const HWND box = box_.window;
    if (code == MSGF_DIALOGBOX && box && message->message == WM_KEYDOWN && message->wParam == 'C' &&
        (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000) &&
        !(GetKeyState(VK_MENU) & 0x8000) && (message->hwnd == box || IsChild(box, message->hwnd))) {
        std::vector<std::u16string> captions;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            if (lstrcmpiW(kind, L"Button") != 0) continue;
            std::u16string caption = WindowText(child);
            std::erase(caption, u'&');
            captions.push_back(caption);
        }
        MessageBeep(MB_OK);
        PutOnClipboard(box, zelk::ui::MessageBoxClipboardText(box_.caption, box_.text, captions));
        return TRUE;
    }
    return CallNextHookEx(box_.keyHook, code, wParam, lParam);
}

// Sees the box appear, before it is shown, and makes the changes.
LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        box_.window = box;
        for (const auto& [id, caption] : changes_.captions)
            SetDlgItemTextW(box, id, caption.c_str());
        if (changes_.escapeAnswersNo) {
            EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
            SetWindowSubclass(box, ConfirmationProcedure, kSubclassId, 0);
        }
        CentreOnScreen(box);
        const HHOOK hook = hook_;
        hook_ = nullptr;
        UnhookWindowsHookEx(hook);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    return CallNextHookEx(hook_, code, wParam, lParam);
}

int Show(HWND owner, std::u16string_view text, const std::wstring& caption, UINT type,
         BoxChanges changes) {
    changes_ = std::move(changes);
    // A box may come up over another (the session ends while one is up).
    const OpenBox outer =
        std::exchange(box_, OpenBox{nullptr, nullptr, ToUtf16(caption), std::u16string(text)});
    hook_ = SetWindowsHookExW(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    box_.keyHook = SetWindowsHookExW(WH_MSGFILTER, BoxKeyHook, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, ToWide(text).c_str(), caption.c_str(), type);
    if (hook_) {
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
    }
    if (box_.keyHook) UnhookWindowsHookEx(box_.keyHook);
    box_ = outer;
    return answer;
}

// The window that is disabled while a box is up: the program's window once
// it is there and not yet being destroyed.
HWND BoxOwner() {
    return owner_ && IsWindow(owner_) ? owner_ : nullptr;
}

}  // namespace

void SetMessageBoxOwner(HWND owner) {
    owner_ = owner;
}

void ShowInformation(std::u16string_view text) {
    const HWND owner = BoxOwner();
    Show(owner, text, ApplicationTitle(), MB_OK | (owner ? MB_APPLMODAL : MB_TASKMODAL),
         {{{IDOK, ToWide(zelk::ui::kOkCaption)}}});
}

zelk::ui::ConfirmAnswer Confirm(std::u16string_view text) {
    const HWND owner = BoxOwner();
    const int answer = Show(
        owner, text, ToWide(zelk::ui::kConfirmCaption),
        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1 | (owner ? MB_APPLMODAL : MB_TASKMODAL),
        {{{IDYES, ToWide(zelk::ui::kYesCaption)}, {IDNO, ToWide(zelk::ui::kNoCaption)}}, true});
    switch (answer) {
        case IDYES:
            return zelk::ui::ConfirmAnswer::Yes;
        case IDNO:
            return zelk::ui::ConfirmAnswer::No;
        default:
            return zelk::ui::ConfirmAnswer::Cancel;
    }
}

void ShowError(std::u16string_view message) {
    const HWND owner = BoxOwner();
    Show(owner, zelk::ui::ErrorBoxText(message), ApplicationTitle(),
         MB_OK | MB_ICONSTOP | (owner ? MB_APPLMODAL : MB_TASKMODAL), {});
}

void ShowFatalError(std::u16string_view errorKind, std::u16string_view message,
                    std::uintptr_t address) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::u16string module = ToUtf16(std::filesystem::path(path).filename().wstring());
    Show(nullptr, zelk::ui::FatalErrorText(errorKind, module, address, message),
         ToWide(zelk::ui::kFatalErrorCaption), MB_OK | MB_ICONSTOP | MB_TASKMODAL, {});
}
