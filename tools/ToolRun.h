#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zelk::tool {

// A mistake in the command line: the tool names it in one line, points to
// --help and exits 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Runs a tool's body: errors go to standard error as "<tool>: <message>";
// returns the exit status (0, 1 on an error, 2 on a usage error). Standard
// input, output and error that the tool was started without are held by the
// null device, so that no file the tool opens takes their place; the tool
// still refuses to read or write them.
int RunTool(std::string_view toolName, int (*body)(int, char**), int argc, char** argv);

// Writes text, the whole output of a command, to standard output and ends
// it; gives the exit status 0, and raises when the output cannot be written
// (RunTool reports it, with status 1).
int PrintToStandardOutput(std::string_view text);
// A help text with "$USER_DATABASE" replaced by where the installed tools
// keep the user's database on this system.
std::string HelpText(std::string_view text);
// "<tool> <version>" and a line break.
std::string VersionText();

// "1 entry", "2 entries": count and the noun in its number.
std::string Counted(std::size_t count, std::string_view one, std::string_view many);

// The database a tool uses unless told otherwise: Zelk.dll in the current
// directory, or, for the installed tools, the user's own database (copied
// from the shipped one first when provision is set and it is missing).
std::string DefaultDatabase(bool provision);

}  // namespace zelk::tool
