#pragma once

#include <filesystem>

namespace zelk::platform {

// Files are written beside their target under a temporary name and renamed
// into place when whole. The name carries the writer's process id, so that
// what a killed or failed writer left behind can be told from what a
// running one is still writing.

// prefix + "<pid>-<random>": prefix holds the folder and the start of the
// name ("/data/Zelk.dll.new-").
std::filesystem::path TemporaryPath(const std::filesystem::path& prefix);

// Removes the files named prefix + "<pid>-..." (a journal beside them
// included) whose process has ended. Failures are ignored: a left-over
// that stays is no harm to the work at hand.
void RemoveDeadTemporaries(const std::filesystem::path& prefix);

}  // namespace zelk::platform
