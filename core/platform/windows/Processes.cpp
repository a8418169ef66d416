#include "platform/Processes.h"

#include <windows.h>

namespace zelk::platform {

ProcessId CurrentProcessId() {
    return static_cast<ProcessId>(GetCurrentProcessId());
}

bool ProcessHasEnded(ProcessId process) {
    if (process == 0) return false;
    const HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
    if (!handle) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    const bool ended = WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    CloseHandle(handle);
    return ended;
}

}  // namespace zelk::platform
