#include "platform/TemporaryFiles.h"

#include <charconv>
#include <random>
#include <string>

#include "platform/Paths.h"
#include "platform/Processes.h"

namespace zelk::platform {

std::filesystem::path TemporaryPath(const std::filesystem::path& prefix) {
    std::random_device random;
    std::filesystem::path path = prefix;
    path += std::to_string(CurrentProcessId()) + "-" + std::to_string(random() % 1000000);
    return path;
}

void RemoveDeadTemporaries(const std::filesystem::path& prefix) {
    const std::filesystem::path folder =
        prefix.parent_path().empty() ? std::filesystem::path(".") : prefix.parent_path();
    const std::string start = PathText(prefix.filename());
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = PathText(it->path().filename());
        if (!name.starts_with(start)) continue;
        const char* first = name.data() + start.size();
        const char* last = name.data() + name.size();
        ProcessId process = 0;
        const auto [end, parsed] = std::from_chars(first, last, process);
        if (parsed != std::errc() || end == last || *end != '-') continue;
        std::error_code status;
        if (!it->is_regular_file(status) || !ProcessHasEnded(process)) continue;
        std::filesystem::remove(it->path(), status);
    }
}

}  // namespace zelk::platform
