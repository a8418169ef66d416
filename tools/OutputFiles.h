#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace zelk::tool {

// Writing the tools' output. A closed standard output, a full disk, a
// target that is no file: each is an error that names the output and the
// system's reason, never a silent loss.

// Writes text to the stream.
void WriteAll(std::FILE* stream, std::string_view text, const std::string& name);
// Flushes and closes a stream, reporting a failed write (disk full, closed pipe).
void FinishOutput(std::FILE* stream, const std::string& name);

// The file a path leads to: symbolic links are followed to their last
// target, which need not exist yet.
std::filesystem::path ResolveLinks(const std::string& path);

// Refuses a path that leads to something other than a regular file: a
// folder, a device, a FIFO, a socket. A path that leads nowhere yet passes.
void RequireFileTarget(const std::string& path);

// Replaces the file that path leads to (through symbolic links, which stay
// in place) with text as one step: the text goes to a temporary file beside
// it, which is flushed to disk and then renamed over it, so that a failure
// leaves the old file as it was. An existing file keeps its permissions.
void ReplaceFileAtomically(const std::string& path, std::string_view text);

}  // namespace zelk::tool
