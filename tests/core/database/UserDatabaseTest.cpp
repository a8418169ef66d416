#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestDatabase.h"
#include "database/UserDatabase.h"
#include "platform/Folders.h"

namespace zelk::db {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string Content(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
}

class UserDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { std::ofstream(shipped, std::ios::binary) << "shipped database"; }
    test::ScopedWorkDir dir;
    std::filesystem::path shipped = dir.path() / "shipped.dll";
    ScopedEnv home{"HOME", (dir.path() / "home").c_str()};
};

TEST_F(UserDatabaseTest, DataFolderFollowsXdgDataHomeThenHome) {
    {
        ScopedEnv data("XDG_DATA_HOME", "/somewhere/data");
        EXPECT_EQ(platform::UserDataDirectory(), "/somewhere/data/zelk");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "relative/data");  // invalid: ignored
        EXPECT_EQ(platform::UserDataDirectory(), dir.path() / "home/.local/share/zelk");
    }
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(platform::UserDataDirectory(), dir.path() / "home/.local/share/zelk");
}

TEST_F(UserDatabaseTest, CopiesOnceAndNeverOverwrites) {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    const ProvisionedDatabase first = ProvisionUserDatabase(shipped);
    EXPECT_TRUE(first.copied);
    EXPECT_EQ(first.path, dir.path() / "home/.local/share/zelk/Zelk.dll");
    EXPECT_EQ(Content(first.path), "shipped database");

    std::ofstream(first.path, std::ios::binary) << "the user's own dictionary";
    std::ofstream(shipped, std::ios::binary) << "a newer shipped database";
    const ProvisionedDatabase second = ProvisionUserDatabase(shipped);
    EXPECT_FALSE(second.copied);
    EXPECT_EQ(Content(second.path), "the user's own dictionary");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(first.path.parent_path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary copy may be left behind";
}

TEST_F(UserDatabaseTest, FailuresNameThePathAndTheReason) {
    ScopedEnv data("XDG_DATA_HOME", "/proc/zelk-test");
    try {
        ProvisionUserDatabase(shipped);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("Cannot create the folder '/proc/zelk-test/zelk': ", 0),
            0u)
            << error.what();
    }
    ScopedEnv home2("XDG_DATA_HOME", nullptr);
    std::filesystem::remove(shipped);
    EXPECT_THROW(ProvisionUserDatabase(shipped), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "home/.local/share/zelk/Zelk.dll"));
}

TEST_F(UserDatabaseTest, AFullDiskIsReportedWithItsReason) {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    std::ofstream(shipped, std::ios::binary) << std::string(1 << 16, 'x');
    // The copy runs in a child whose files may not grow past 4 KiB.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::string message = "<no error>";
        try {
            ProvisionUserDatabase(shipped);
        } catch (const std::exception& error) {
            message = error.what();
        }
        const auto written = write(pipeFds[1], message.data(), message.size());
        _exit(written < 0);
    }
    close(pipeFds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(pipeFds[0]);
    waitpid(child, nullptr, 0);
    EXPECT_NE(message.find("Cannot copy the default dictionary"), std::string::npos) << message;
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path() / "home/.local/share/zelk"),
                      std::filesystem::directory_iterator()),
        0)
        << "no half copy may be left";
}

TEST_F(UserDatabaseTest, ShippedDatabaseIsFoundBesideTheExecutable) {
    std::filesystem::create_directories(dir.path() / "root/usr/bin");
    std::filesystem::create_directories(dir.path() / "root/usr/share/zelk");
    EXPECT_EQ(ShippedDatabase(dir.path() / "root/usr/bin"), std::nullopt);
    std::ofstream(dir.path() / "root/usr/share/zelk/Zelk.dll") << "x";
    EXPECT_EQ(ShippedDatabase(dir.path() / "root/usr/bin"),
              dir.path() / "root/usr/share/zelk/Zelk.dll");
}

}  // namespace
}  // namespace zelk::db
