#pragma once

#include <QElapsedTimer>

// Shows the busy cursor while a long command runs on the UI thread: a
// command that has run longer than a quarter of a second sets it at its next
// Tick(), and it is taken away when the command ends, however it ends.
class BusyCursor {
  public:
    BusyCursor() { clock_.start(); }
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Cheap enough to call for every character.
    void Tick() {
        if (!shown_ && ++ticks_ % kTicksBetweenChecks == 0) CheckClock();
    }

  private:
    static constexpr unsigned kTicksBetweenChecks = 1024;
    static constexpr qint64 kDelayMs = 250;

    void CheckClock();

    QElapsedTimer clock_;
    unsigned ticks_ = 0;
    bool shown_ = false;
};
