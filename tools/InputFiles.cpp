#include "tools/InputFiles.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "base/AtScopeEnd.h"
#include "base/Unicode.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "tools/ToolStreams.h"

namespace zelk::tool {

namespace {

void RequireOpenStandardInput() {
    if (StandardInputClosed()) throw std::runtime_error("cannot read standard input: it is closed");
}

}  // namespace

void ReportInvalidUtf8(std::string_view text, const std::string& name, std::uint64_t offset,
                       bool& reported) {
    if (reported) return;
    const std::size_t at = base::FirstInvalidUtf8(text);
    if (at == std::string_view::npos) return;
    reported = true;
    std::cerr << ToolName() << ": " << name << ": invalid UTF-8 at byte " << offset + at
              << "; such bytes are read as U+FFFD" << std::endl;
}

void ReadInChunks(std::FILE* stream, const std::string& name,
                  const std::function<void(std::string_view chunk)>& take) {
    if (stream == stdin) RequireOpenStandardInput();
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
            throw std::runtime_error("cannot read " + name + ": " + std::strerror(errno));
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
    const base::AtScopeEnd close([file] { std::fclose(file); });
    ReadInChunks(file, "'" + path + "'", take);
}

std::FILE* OpenInputFile(const std::string& path) {
    std::error_code error;
    std::FILE* file = platform::OpenForReading(platform::PathFromUtf8(path), error);
    if (!file) {
        const std::string verb = error == std::errc::is_a_directory ? "read" : "open";
        throw std::runtime_error("cannot " + verb + " '" + path + "': " + error.message());
    }
    return file;
}

std::string ReadWholeFile(const std::string& path) {
    const bool standardInput = path == "-";
    if (standardInput) RequireOpenStandardInput();
    std::FILE* file = standardInput ? stdin : OpenInputFile(path);
    const std::string name = standardInput ? "standard input" : "'" + path + "'";
    std::string content;
    char buffer[1 << 16];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, count);
    const int error = errno;
    const bool failed = std::ferror(file);
    if (!standardInput) std::fclose(file);
    if (failed) throw std::runtime_error("cannot read " + name + ": " + std::strerror(error));
    return content;
}

}  // namespace zelk::tool
