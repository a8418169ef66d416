#pragma once

#include <windows.h>

#include "ui/FormView.h"

// Shows the wait cursor while a long command runs on the UI thread: a
// command that has run longer than a quarter of a second sets it at its next
// Tick(), and it goes when the command ends, however it ends. While it is
// shown, Tick lets the system's messages in now and then (painting, the
// session's end), never the user's input.
class BusyCursor : public zelk::ui::BusyIndicator {
  public:
    BusyCursor() : start_(GetTickCount64()) {}
    ~BusyCursor() override;

    // Cheap enough to call for every character.
    void Tick() override {
        if (++ticks_ % kTicksBetweenChecks == 0) CheckClock();
    }

    // Whether a busy cursor is up: the window shows it when the mouse moves.
    static bool Shown();

  private:
    static constexpr unsigned kTicksBetweenChecks = 1024;
    static constexpr ULONGLONG kDelayMs = 250;
    static constexpr ULONGLONG kMessagesEveryMs = 100;

    void CheckClock();

    ULONGLONG start_;
    ULONGLONG lastMessages_ = 0;
    unsigned ticks_ = 0;
    HCURSOR previous_ = nullptr;
    bool shown_ = false;
};
