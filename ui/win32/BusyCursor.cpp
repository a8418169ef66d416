#include "ui/win32/BusyCursor.h"

namespace {

int shownCount_ = 0;

// Delivers the messages that are no input: what the system sends (the
// session's end among them), painting and timers.
void LetSystemMessagesIn() {
    MSG message;
    const auto deliver = [&](UINT first, UINT last) {
        while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    };
    deliver(0, WM_KEYFIRST - 1);
    deliver(WM_KEYLAST + 1, WM_MOUSEFIRST - 1);
    deliver(WM_MOUSELAST + 1, 0xFFFFFFFF);
}

}  // namespace

bool BusyCursor::Shown() {
    return shownCount_ > 0;
}

void BusyCursor::CheckClock() {
    const ULONGLONG now = GetTickCount64();
    if (!shown_) {
        if (now - start_ < kDelayMs) return;
        shown_ = true;
        ++shownCount_;
        previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    }
    if (now - lastMessages_ < kMessagesEveryMs) return;
    lastMessages_ = now;
    LetSystemMessagesIn();
}

BusyCursor::~BusyCursor() {
    if (!shown_) return;
    --shownCount_;
    SetCursor(previous_);
}
