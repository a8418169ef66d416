#include "tools/ToolStreams.h"

#include "platform/StandardStreams.h"

namespace zelk::tool {

namespace {

platform::StandardStreams streams;
std::string_view runningTool = "zelk";

}  // namespace

void PrepareToolStreams(std::string_view toolName) {
    streams = platform::PrepareStandardStreams();
    runningTool = toolName;
}

std::string_view ToolName() {
    return runningTool;
}

bool StandardInputClosed() {
    return streams.inputClosed;
}

bool StandardOutputClosed() {
    return streams.outputClosed;
}

}  // namespace zelk::tool
