#include "platform/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace zelk::platform {

StandardStreams PrepareStandardStreams() {
    StandardStreams streams;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDIN_FILENO) streams.inputClosed = true;
        if (fd == STDOUT_FILENO) streams.outputClosed = true;
        const int placeholder = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (placeholder != -1 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
    return streams;
}

}  // namespace zelk::platform
