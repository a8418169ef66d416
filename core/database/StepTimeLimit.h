#pragma once

#include <chrono>

#include "database/Sqlite.h"

namespace zelk::db {

// A statement that runs this long without giving a row or finishing is
// stopped (a view that never ends, a file on a hung network share), so that
// no command waits for ever. Long imports and exports are many short steps
// and never meet it.
inline constexpr std::chrono::milliseconds kDefaultStepTimeLimit{10000};

// The limit for every connection of the process; tests shorten it.
void SetStepTimeLimit(std::chrono::milliseconds limit);
std::chrono::milliseconds StepTimeLimit();

// Installs the engine's progress handler that enforces the limit on db.
void LimitStepTime(sqlite3* db);

// The time of one engine call counts from this scope's start; outside every
// such scope nothing is stopped.
class TimedStep {
  public:
    TimedStep();
    ~TimedStep();
    TimedStep(const TimedStep&) = delete;
    TimedStep& operator=(const TimedStep&) = delete;
};

}  // namespace zelk::db
