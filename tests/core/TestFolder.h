#pragma once

#include <filesystem>
#include <string>

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

// A file's whole content, and a file written whole.
std::string FileContent(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace zelk::test
