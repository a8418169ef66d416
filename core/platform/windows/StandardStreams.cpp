#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

namespace zelk::platform {

StandardStreams PrepareStandardStreams() {
    StandardStreams streams;
    // A stream the process was started without has no handle (-2 or -1),
    // or one that names nothing: the system knows no type for it.
    const auto closed = [](int fd) {
        const intptr_t handle = _get_osfhandle(fd);
        if (handle < 0) return true;
        SetLastError(NO_ERROR);
        return GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_UNKNOWN &&
               GetLastError() != NO_ERROR;
    };
    streams.inputClosed = closed(0);
    streams.outputClosed = closed(1);
    if (streams.inputClosed) std::freopen("NUL", "rb", stdin);
    if (streams.outputClosed) std::freopen("NUL", "wb", stdout);
    if (closed(2)) std::freopen("NUL", "wb", stderr);
    // Bytes as they are: no line ends turned into CR LF, no Ctrl+Z an end.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return streams;
}

}  // namespace zelk::platform
