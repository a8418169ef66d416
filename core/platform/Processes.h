#pragma once

#include <cstdint>

namespace zelk::platform {

using ProcessId = std::uint32_t;

ProcessId CurrentProcessId();

// True only when the system says that no process has this id any more; a
// process that may not be asked about counts as running.
bool ProcessHasEnded(ProcessId process);

}  // namespace zelk::platform
