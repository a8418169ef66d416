#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace zelk::tool {

// Reading the tools' input: files, or standard input for "-". A closed
// standard input is an error, never an empty text. Errors name the input and
// the system's reason.

// The whole content of a file, or of standard input for "-".
std::string ReadWholeFile(const std::string& path);
// Reads a stream in chunks of about a megabyte, each cut after a line break,
// or else between whole UTF-8 characters, so that no character is torn. The
// first bytes that are not UTF-8 are reported once on standard error with
// their offset.
void ReadInChunks(std::FILE* stream, const std::string& name,
                  const std::function<void(std::string_view chunk)>& take);
// ReadInChunks on a file, or on standard input for "-".
void ReadInputInChunks(const std::string& path,
                       const std::function<void(std::string_view chunk)>& take);
// Reports on standard error, once (reported), the first bytes of text that
// are not UTF-8, at their offset in the input called name.
void ReportInvalidUtf8(std::string_view text, const std::string& name, std::uint64_t offset,
                       bool& reported);
// Opens a file for reading; a folder is refused.
std::FILE* OpenInputFile(const std::string& path);

}  // namespace zelk::tool
