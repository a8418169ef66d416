#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelk::platform {

namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Runs a system call again while a signal interrupts it.
template <typename Call>
auto Retried(Call call) {
    decltype(call()) result;
    do result = call();
    while (result == -1 && errno == EINTR);
    return result;
}

}  // namespace

NewFile::NewFile(const std::filesystem::path& path, std::error_code& error) : path_(path) {
    handle_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    error = handle_ == -1 ? LastError() : std::error_code();
    if (!error) TakePermissionsOf({});
}

NewFile::~NewFile() {
    if (handle_ == -1 || finished_) return;
    ::close(static_cast<int>(handle_));
    ::unlink(path_.c_str());
}

void NewFile::TakePermissionsOf(const std::filesystem::path& original) {
    struct stat status {};
    mode_t mode;
    if (!original.empty() && ::stat(original.c_str(), &status) == 0) {
        mode = status.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(static_cast<int>(handle_), mode);
}

std::error_code NewFile::Write(std::string_view bytes) {
    const int fd = static_cast<int>(handle_);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written =
            Retried([&] { return ::write(fd, bytes.data() + done, bytes.size() - done); });
        if (written < 0) return LastError();
        done += static_cast<std::size_t>(written);
    }
    return {};
}

std::error_code NewFile::Finish() {
    const int fd = static_cast<int>(handle_);
    if (::fsync(fd) != 0) return LastError();
    finished_ = true;
    if (::close(fd) != 0) {
        finished_ = false;
        handle_ = -1;
        const std::error_code error = LastError();
        ::unlink(path_.c_str());
        return error;
    }
    return {};
}

std::error_code ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : LastError();
}

bool OpenFilesCanBeReplaced() {
    return true;  // the opener keeps the old file
}

std::error_code PlaceIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to) {
    // A hard link fails when the name is taken, where a rename would replace.
    if (::link(from.c_str(), to.c_str()) != 0) return LastError();
    ::unlink(from.c_str());
    return {};
}

bool CanCreateFilesIn(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

std::FILE* OpenForReading(const std::filesystem::path& path, std::error_code& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = LastError();
        return nullptr;
    }
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        error = std::make_error_code(std::errc::is_a_directory);
        return nullptr;
    }
    error.clear();
    return file;
}

std::error_code ReadRegularFile(const std::filesystem::path& path, FileBytes& out) {
    // O_NONBLOCK: opening a FIFO would wait for a writer.
    const int fd = Retried([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
    if (fd == -1) return LastError();
    std::error_code error;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        error = LastError();
    } else if (S_ISDIR(status.st_mode)) {
        error = std::make_error_code(std::errc::is_a_directory);
    } else if (!S_ISREG(status.st_mode)) {
        error = std::make_error_code(std::errc::not_supported);
    } else {
        out.assign(static_cast<std::size_t>(status.st_size));
        const std::span<std::byte> bytes = out.writable();
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t count =
                Retried([&] { return ::read(fd, bytes.data() + done, bytes.size() - done); });
            if (count < 0) {
                error = LastError();
                break;
            }
            if (count == 0) break;  // cut short since it was measured
            done += static_cast<std::size_t>(count);
        }
        out.shorten(done);
    }
    ::close(fd);
    return error;
}

}  // namespace zelk::platform
