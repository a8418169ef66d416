#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk::tool {

// A mistake in the command line: the tool prints it with its usage and exits 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The whole content of a file, or of standard input for "-".
std::string ReadWholeFile(const std::string& path);
// Writes text to the stream; raises std::runtime_error when it cannot.
void WriteAll(std::FILE* stream, std::string_view text, const std::string& name);
// Flushes and closes a stream, reporting a failed write (disk full, closed pipe).
void FinishOutput(std::FILE* stream, const std::string& name);
// Reads a stream in chunks of about a megabyte, each cut after a line break,
// or else between whole UTF-8 characters, so that no character is torn; a
// read error is raised with the system's reason. The first bytes that are
// not UTF-8 are reported once on standard error with their offset.
void ReadInChunks(std::FILE* stream, const std::string& name,
                  const std::function<void(std::string_view chunk)>& take);
// ReadInChunks on a file, or on standard input for "-".
void ReadInputInChunks(const std::string& path,
                       const std::function<void(std::string_view chunk)>& take);
// Reports on standard error, once (reported), the first bytes of text that
// are not UTF-8, at their offset in the input called name.
void ReportInvalidUtf8(std::string_view text, const std::string& name, std::uint64_t offset,
                       bool& reported);
// Opens a file for reading; the error names the system's reason, a folder included.
std::FILE* OpenInputFile(const std::string& path);
// Replaces the file at path with text as one step: the text goes to a
// temporary file beside it, which is flushed to disk and then renamed over
// path, so that a failure leaves the old file as it was. An existing file
// keeps its permissions.
void ReplaceFileAtomically(const std::string& path, std::string_view text);

// The database a tool uses unless told otherwise: Zelk.dll in the current
// directory, or, for the installed tools, the user's own database (copied
// from the shipped one first when provision is set and it is missing).
std::string DefaultDatabase(bool provision);

// Runs a tool's body: errors go to standard error as "<tool>: <message>";
// returns the exit status (0, 1 on an error, 2 on a usage error).
int RunTool(std::string_view toolName, std::string_view usage, int (*body)(int, char**), int argc,
            char** argv);

}  // namespace zelk::tool
