#include "tools/OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TemporaryFiles.h"
#include "tools/ToolStreams.h"

namespace zelk::tool {

namespace {

constexpr int kMostLinks = 40;  // as the kernel follows them

void RequireOpenStandardOutput(std::FILE* stream) {
    if (stream == stdout && StandardOutputClosed()) {
        throw std::runtime_error("cannot write standard output: it is closed");
    }
}

// Makes file, new, at a fresh temporary name beside target.
std::error_code CreateTemporary(const std::filesystem::path& target,
                                std::filesystem::path& temporary,
                                std::optional<platform::NewFile>& file) {
    std::filesystem::path prefix = target;
    std::string name = ".";
    name += platform::PathText(target.filename());
    name += ".exp-";
    prefix.replace_filename(platform::PathFromUtf8(name));
    platform::RemoveDeadTemporaries(prefix);
    std::error_code error;
    for (int attempt = 0;; ++attempt) {
        temporary = platform::TemporaryPath(prefix);
        file.emplace(temporary, error);
        if (!error || error != std::errc::file_exists || attempt == 10) break;
    }
    if (error) file.reset();
    return error;
}

}  // namespace

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

std::filesystem::path ResolveLinks(const std::string& path) {
    std::filesystem::path current = platform::PathFromUtf8(path);
    for (int hops = 0;; ++hops) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::symlink_status(current, error);
        if (status.type() == std::filesystem::file_type::not_found) return current;
        if (error) throw std::runtime_error("cannot reach '" + path + "': " + error.message());
        if (status.type() != std::filesystem::file_type::symlink) return current;
        if (hops == kMostLinks) {
            throw std::runtime_error(
                "cannot reach '" + path +
                "': " + std::make_error_code(std::errc::too_many_symbolic_link_levels).message());
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current);
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
}

void RequireFileTarget(const std::string& path) {
    using std::filesystem::file_type;
    std::error_code error;
    const file_type type = std::filesystem::status(platform::PathFromUtf8(path), error).type();
    // Nothing there yet (or a dangling link) is a new file.
    if (type == file_type::not_found || type == file_type::none || type == file_type::regular) {
        return;
    }
    const std::string nothing = "; nothing was written.";
    const std::string quoted = "'" + path + "'";
    if (type == file_type::directory) throw std::runtime_error(quoted + " is a folder" + nothing);
    if (type == file_type::fifo) {
        throw std::runtime_error(quoted + " is a FIFO (a pipe), not a file" + nothing +
                                 " Name '-' to write to standard output.");
    }
    if (type == file_type::socket) {
        throw std::runtime_error(quoted + " is a socket, not a file" + nothing);
    }
    throw std::runtime_error(quoted + " is a device, not a file" + nothing +
                             " Name '-' to write to standard output.");
}

void ReplaceFileAtomically(const std::string& path, std::string_view text) {
    RequireFileTarget(path);
    const std::filesystem::path target = ResolveLinks(path);
    const std::string name = "'" + path + "'";
    std::filesystem::path temporary;
    std::optional<platform::NewFile> file;
    std::error_code error = CreateTemporary(target, temporary, file);
    if (error) throw std::runtime_error("cannot create " + name + ": " + error.message());
    file->TakePermissionsOf(target);
    if ((error = file->Write(text)) || (error = file->Finish())) {
        file.reset();
        throw std::runtime_error("cannot write " + name + ": " + error.message());
    }
    if (const std::error_code replaced = platform::ReplaceFile(temporary, target)) {
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("cannot replace " + name + ": " + replaced.message());
    }
}

}  // namespace zelk::tool
