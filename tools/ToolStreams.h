#pragma once

#include <string_view>

namespace zelk::tool {

// The running tool's name and its standard streams, as the reading and the
// writing of its files need them.

// Readies the streams (platform::PrepareStandardStreams) and remembers the
// tool's name for the reports made on the way.
void PrepareToolStreams(std::string_view toolName);

std::string_view ToolName();
// Whether the tool was started without standard input or output: reading
// or writing them is then an error, never an empty text or a silent loss.
bool StandardInputClosed();
bool StandardOutputClosed();

}  // namespace zelk::tool
