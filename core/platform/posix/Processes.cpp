#include "platform/Processes.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace zelk::platform {

ProcessId CurrentProcessId() {
    return static_cast<ProcessId>(::getpid());
}

bool ProcessHasEnded(ProcessId process) {
    const auto pid = static_cast<pid_t>(process);
    return pid > 0 && ::kill(pid, 0) == -1 && errno == ESRCH;
}

}  // namespace zelk::platform
