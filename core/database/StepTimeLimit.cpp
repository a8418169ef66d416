#include "database/StepTimeLimit.h"

#include <atomic>

namespace zelk::db {

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<std::chrono::milliseconds::rep> limitMs{kDefaultStepTimeLimit.count()};
// The engine runs on the caller's thread: each thread times its own calls.
thread_local int depth = 0;
thread_local Clock::time_point started;

// The engine calls this every few thousand instructions; a non-zero answer
// interrupts the statement with SQLITE_INTERRUPT.
int OnProgress(void*) {
    if (depth == 0) return 0;
    return Clock::now() - started > std::chrono::milliseconds(limitMs.load()) ? 1 : 0;
}

constexpr int kInstructionsBetweenChecks = 4000;

}  // namespace

void SetStepTimeLimit(std::chrono::milliseconds limit) {
    limitMs = limit.count();
}

std::chrono::milliseconds StepTimeLimit() {
    return std::chrono::milliseconds(limitMs.load());
}

void LimitStepTime(sqlite3* db) {
    sqlite3_progress_handler(db, kInstructionsBetweenChecks, OnProgress, nullptr);
}

TimedStep::TimedStep() {
    if (depth++ == 0) started = Clock::now();
}

TimedStep::~TimedStep() {
    --depth;
}

}  // namespace zelk::db
