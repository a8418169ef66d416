#pragma once

#include <optional>

// "zelk --help" and "zelk --version" answer on standard output and end, with
// no display and no window: the exit status, or nothing when the command line
// asks for neither.
std::optional<int> AnswerInformationRequest(int argc, char** argv);
