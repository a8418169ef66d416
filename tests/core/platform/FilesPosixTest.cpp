// What only POSIX systems have: file modes, FIFOs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestFolder.h"
#include "platform/Files.h"

namespace zelk::platform {

namespace {

TEST(NewFileTest, TakesThePermissionsOfTheFileItReplaces) {
    test::ScopedWorkDir dir;
    test::WriteWholeFile("original", "x");
    std::filesystem::permissions("original", std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write |
                                                 std::filesystem::perms::group_read);
    std::error_code error;
    NewFile copy("copy", error);
    copy.TakePermissionsOf("original");
    EXPECT_FALSE(copy.Finish());
    EXPECT_EQ(std::filesystem::status("copy").permissions(),
              std::filesystem::status("original").permissions());
}

TEST(ReadRegularFileTest, RefusesAFifoWithoutWaiting) {
    test::ScopedWorkDir dir;
    // A FIFO with no writer would block an ordinary open for ever.
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    FileBytes bytes;
    EXPECT_EQ(ReadRegularFile("fifo", bytes), std::errc::not_supported);
}

}  // namespace
}  // namespace zelk::platform
