#include "TemporaryFiles.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <random>

namespace zelk {

namespace {

bool ProcessHasEnded(pid_t pid) {
    return pid > 0 && ::kill(pid, 0) == -1 && errno == ESRCH;
}

}  // namespace

std::filesystem::path TemporaryPath(const std::filesystem::path& prefix) {
    std::random_device random;
    return prefix.string() + std::to_string(::getpid()) + "-" + std::to_string(random() % 1000000);
}

void RemoveDeadTemporaries(const std::filesystem::path& prefix) {
    const std::filesystem::path folder =
        prefix.parent_path().empty() ? std::filesystem::path(".") : prefix.parent_path();
    const std::string start = prefix.filename().string();
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(start)) continue;
        const char* first = name.data() + start.size();
        const char* last = name.data() + name.size();
        pid_t pid = 0;
        const auto [end, parsed] = std::from_chars(first, last, pid);
        if (parsed != std::errc() || end == last || *end != '-') continue;
        std::error_code status;
        if (!it->is_regular_file(status) || !ProcessHasEnded(pid)) continue;
        std::filesystem::remove(it->path(), status);
    }
}

}  // namespace zelk
