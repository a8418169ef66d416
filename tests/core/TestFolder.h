#pragma once

#include <filesystem>

namespace zelk::test {

// A fresh temporary folder that is the current directory while it lives, so
// that "Zelk.dll" names the test's own file.
class ScopedWorkDir {
  public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace zelk::test
