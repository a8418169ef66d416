#pragma once

namespace zelk::platform {

// Which of standard input and output the process was started without.
struct StandardStreams {
    bool inputClosed = false;
    bool outputClosed = false;
};

// Readies standard input, output and error for a tool: each one the tool was
// started without is held by the null device, so that no file the tool opens
// takes its place, and input and output carry bytes as they are.
StandardStreams PrepareStandardStreams();

}  // namespace zelk::platform
