#include "OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "DatabaseErrors.h"
#include "TemporaryFiles.h"
#include "ToolRun.h"

namespace zelk::tool {

namespace {

constexpr int kMostLinks = 40;  // as the kernel follows them

std::string SystemReason(int error) {
    return std::strerror(error);
}

void RequireOpenStandardOutput(std::FILE* stream) {
    if (stream == stdout && StandardOutputClosed()) {
        throw std::runtime_error("cannot write standard output: it is closed");
    }
}

// Makes a new file at a fresh temporary name beside target.
int CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    const std::filesystem::path prefix =
        target.parent_path() / ("." + target.filename().string() + ".exp-");
    RemoveDeadTemporaries(prefix);
    for (int attempt = 0;; ++attempt) {
        temporary = TemporaryPath(prefix);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd != -1 || errno != EEXIST || attempt == 10) return fd;
    }
}

}  // namespace

void WriteAll(std::FILE* stream, std::string_view text, const std::string& name) {
    RequireOpenStandardOutput(stream);
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        throw std::runtime_error("cannot write " + name + ": " + SystemReason(errno));
    }
}

void FinishOutput(std::FILE* stream, const std::string& name) {
    RequireOpenStandardOutput(stream);
    const bool flushed = std::fflush(stream) == 0;
    const int error = errno;
    const bool closed = std::fclose(stream) == 0;
    if (!flushed || !closed) {
        throw std::runtime_error("cannot write " + name + ": " +
                                 SystemReason(flushed ? errno : error));
    }
}

std::filesystem::path ResolveLinks(const std::string& path) {
    std::filesystem::path current = path;
    for (int hops = 0;; ++hops) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT) return current;
            throw std::runtime_error("cannot reach " + QuotedPath(path) + ": " +
                                     SystemReason(errno));
        }
        if (!S_ISLNK(status.st_mode)) return current;
        if (hops == kMostLinks) {
            throw std::runtime_error("cannot reach " + QuotedPath(path) + ": " +
                                     SystemReason(ELOOP));
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current);
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
}

void RequireFileTarget(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return;  // nothing there yet (or a dangling link)
    const std::string nothing = "; nothing was written.";
    if (S_ISREG(status.st_mode)) return;
    if (S_ISDIR(status.st_mode))
        throw std::runtime_error(QuotedPath(path) + " is a folder" + nothing);
    if (S_ISFIFO(status.st_mode)) {
        throw std::runtime_error(QuotedPath(path) + " is a FIFO (a pipe), not a file" + nothing +
                                 " Name '-' to write to standard output.");
    }
    if (S_ISSOCK(status.st_mode)) {
        throw std::runtime_error(QuotedPath(path) + " is a socket, not a file" + nothing);
    }
    throw std::runtime_error(QuotedPath(path) + " is a device, not a file" + nothing +
                             " Name '-' to write to standard output.");
}

void ReplaceFileAtomically(const std::string& path, std::string_view text) {
    RequireFileTarget(path);
    const std::filesystem::path target = ResolveLinks(path);
    const std::string name = QuotedPath(path);
    std::filesystem::path temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd == -1) throw std::runtime_error("cannot create " + name + ": " + SystemReason(errno));
    // The temporary file is private: give it the old file's mode, or the usual one.
    struct stat old {};
    mode_t mode;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    std::FILE* file = ::fdopen(fd, "wb");
    const auto fail = [&](const std::string& what, int error) {
        if (file) std::fclose(file);
        ::unlink(temporary.c_str());
        throw std::runtime_error(what + " " + name + ": " + SystemReason(error));
    };
    if (!file) {
        const int error = errno;
        ::close(fd);
        fail("cannot create", error);
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        fail("cannot write", errno);
    }
    if (std::fflush(file) != 0 || ::fsync(fd) != 0) fail("cannot write", errno);
    if (std::fclose(std::exchange(file, nullptr)) != 0) fail("cannot write", errno);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) fail("cannot replace", errno);
}

}  // namespace zelk::tool
