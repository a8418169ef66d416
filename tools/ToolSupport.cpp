#include "ToolSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <utility>
#include <vector>

#include "CodePage.h"
#include "ConnectionSettings.h"
#include "UserDatabase.h"

namespace zelk::tool {

namespace {

// Set when the tool was started with standard output closed: a placeholder
// then holds descriptor 1, so that no file the tool opens lands there.
bool standardOutputClosed = false;
// The running tool's name, for the reports made on the way.
std::string_view toolName = "zelk";

void RequireOpenStandardOutput(std::FILE* stream) {
    if (stream == stdout && standardOutputClosed) {
        throw std::runtime_error("cannot write standard output: it is closed");
    }
}

// Keeps descriptors 0 to 2 taken: a closed one gets /dev/null.
void HoldStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDOUT_FILENO) standardOutputClosed = true;
        const int placeholder = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (placeholder != -1 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

std::string SystemReason(int error) {
    return std::strerror(error);
}

}  // namespace

void ReportInvalidUtf8(std::string_view text, const std::string& name, std::uint64_t offset,
                       bool& reported) {
    if (reported) return;
    const std::size_t at = zelk::FirstInvalidUtf8(text);
    if (at == std::string_view::npos) return;
    reported = true;
    std::cerr << toolName << ": " << name << ": invalid UTF-8 at byte " << offset + at
              << "; such bytes are read as U+FFFD" << std::endl;
}

void ReadInChunks(std::FILE* stream, const std::string& name,
                  const std::function<void(std::string_view chunk)>& take) {
    constexpr std::size_t kChunkSize = 1 << 20;
    std::uint64_t offset = 0;  // of pending's first byte in the stream
    bool reported = false;
    const auto takeChecked = [&](std::string_view chunk) {
        ReportInvalidUtf8(chunk, name, offset, reported);
        offset += chunk.size();
        take(chunk);
    };
    std::string pending;
    std::vector<char> buffer(kChunkSize);
    for (;;) {
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), stream);
        pending.append(buffer.data(), count);
        const bool atEnd = count < buffer.size();
        if (atEnd && std::ferror(stream)) {
            throw std::runtime_error("cannot read " + name + ": " + SystemReason(errno));
        }
        std::size_t cut = pending.size();
        if (!atEnd) {
            const std::size_t lineEnd = pending.rfind('\n');
            if (lineEnd != std::string::npos) {
                cut = lineEnd + 1;
            } else {
                std::size_t back = 0;
                while (cut > 0 && back < 4 &&
                       (static_cast<unsigned char>(pending[cut - 1]) & 0xC0) == 0x80) {
                    --cut, ++back;
                }
                if (cut > 0 && static_cast<unsigned char>(pending[cut - 1]) >= 0xC0) --cut;
            }
        }
        takeChecked(std::string_view(pending).substr(0, cut));
        pending.erase(0, cut);
        if (atEnd) break;
    }
    if (!pending.empty()) takeChecked(pending);
}

void ReadInputInChunks(const std::string& path,
                       const std::function<void(std::string_view chunk)>& take) {
    if (path == "-") {
        ReadInChunks(stdin, "standard input", take);
        return;
    }
    std::FILE* file = OpenInputFile(path);
    try {
        ReadInChunks(file, "'" + path + "'", take);
    } catch (...) {
        std::fclose(file);
        throw;
    }
    std::fclose(file);
}

std::FILE* OpenInputFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error("cannot open '" + path + "': " + SystemReason(errno));
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        throw std::runtime_error("cannot read '" + path + "': " + SystemReason(EISDIR));
    }
    return file;
}

std::string ReadWholeFile(const std::string& path) {
    if (path == "-") {
        std::ostringstream content;
        content << std::cin.rdbuf();
        if (std::cin.bad()) throw std::runtime_error("cannot read standard input");
        return content.str();
    }
    std::FILE* file = OpenInputFile(path);
    std::string content;
    char buffer[1 << 16];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
    const int error = errno;
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed) throw std::runtime_error("cannot read '" + path + "': " + SystemReason(error));
    return content;
}

void ReplaceFileAtomically(const std::string& path, std::string_view text) {
    const std::filesystem::path target(path);
    const std::string name = "'" + path + "'";
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd == -1) throw std::runtime_error("cannot create " + name + ": " + SystemReason(errno));
    // mkstemp makes the file private: give it the old file's mode, or the usual one.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
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
    if (std::rename(temporary.c_str(), path.c_str()) != 0) fail("cannot replace", errno);
}

void WriteAll(std::FILE* stream, std::string_view text, const std::string& name) {
    RequireOpenStandardOutput(stream);
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        throw std::runtime_error("cannot write " + name + ": " + std::strerror(errno));
    }
}

void FinishOutput(std::FILE* stream, const std::string& name) {
    RequireOpenStandardOutput(stream);
    const bool flushed = std::fflush(stream) == 0;
    const int error = errno;
    const bool closed = std::fclose(stream) == 0;
    if (!flushed || !closed) {
        throw std::runtime_error("cannot write " + name + ": " +
                                 std::strerror(flushed ? errno : error));
    }
}

std::string DefaultDatabase(bool provision) {
    const std::optional<std::filesystem::path> shipped = ShippedDatabase(ExecutableDirectory());
    if (!shipped) return std::string(kDatabaseFileName);
    if (provision) return ProvisionUserDatabase(*shipped).path.string();
    return (UserDataDirectory() / kDatabaseFileName).string();
}

int RunTool(std::string_view toolNameArgument, std::string_view usage, int (*body)(int, char**),
            int argc, char** argv) {
    HoldStandardDescriptors();
    toolName = toolNameArgument;
    try {
        return body(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << toolNameArgument << ": " << error.what() << "\n" << usage;
        return 2;
    } catch (const std::exception& error) {
        std::cerr << toolNameArgument << ": " << error.what() << "\n";
        return 1;
    }
}

}  // namespace zelk::tool
