#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace zelk::platform {

// File operations whose form differs between systems. Errors come back as
// the system's error codes, for messages that give the system's reason.

// A file made only where nothing is, written whole, flushed to disk and
// closed. One that is not finished is removed when the object goes.
class NewFile {
  public:
    // error is file_exists when something is at path already.
    NewFile(const std::filesystem::path& path, std::error_code& error);
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Gives the file the permissions of original, the file it is to
    // replace, or the usual ones of a new file when there is none.
    void TakePermissionsOf(const std::filesystem::path& original);
    std::error_code Write(std::string_view bytes);
    // Flushes the file to disk and closes it; it stays.
    std::error_code Finish();

  private:
    std::filesystem::path path_;
    std::intptr_t handle_;
    bool finished_ = false;
};

// Moves from to to, replacing what is there, in one step.
std::error_code ReplaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
// Whether ReplaceFile can replace a file that a process holds open. Linux
// replaces it in any case; Windows refuses while an opener shares no
// deletion, as the database engine does.
bool OpenFilesCanBeReplaced();
// Moves from to to only when nothing is at to (file_exists otherwise),
// so that a file that appeared meanwhile is never overwritten.
std::error_code PlaceIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to);

// Whether the process may make files in folder.
bool CanCreateFilesIn(const std::filesystem::path& folder);

// Opens a file for reading bytes; a folder is refused (is_a_directory).
std::FILE* OpenForReading(const std::filesystem::path& path, std::error_code& error);

// A whole file's bytes in memory aligned to 8, so that arrays in it can be
// used where they lie.
class FileBytes {
  public:
    std::span<const std::byte> bytes() const {
        return {reinterpret_cast<const std::byte*>(words_.data()), size_};
    }
    std::span<std::byte> writable() { return {reinterpret_cast<std::byte*>(words_.data()), size_}; }
    // Room for size bytes, all zero.
    void assign(std::size_t size) {
        words_.assign((size + 7) / 8, 0);
        size_ = size;
    }
    // Keeps the first size bytes.
    void shorten(std::size_t size) {
        if (size < size_) size_ = size;
    }

  private:
    std::vector<std::uint64_t> words_;
    std::size_t size_ = 0;
};

// Reads a regular file whole. The file is opened without waiting: a FIFO
// or a device, even one put in the file's place after a check, is refused
// (not_supported) and never read.
std::error_code ReadRegularFile(const std::filesystem::path& path, FileBytes& out);

}  // namespace zelk::platform
