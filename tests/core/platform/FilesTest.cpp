// The file operations every system must give alike: nothing overwritten
// that should not be, nothing left half-written, no wait on a FIFO.
#include "platform/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "platform/TemporaryFiles.h"

namespace zelk::platform {
namespace {

std::string Content(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(NewFileTest, IsMadeOnlyWhereNothingIsAndStaysOnlyWhenFinished) {
    test::ScopedWorkDir dir;
    Write("taken", "old");
    std::error_code error;
    NewFile refused("taken", error);
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_EQ(Content("taken"), "old");
    {
        NewFile unfinished("half", error);
        ASSERT_FALSE(error);
        EXPECT_FALSE(unfinished.Write("half a text"));
    }
    EXPECT_FALSE(std::filesystem::exists("half")) << "an unfinished file is removed";
    {
        NewFile whole("whole", error);
        ASSERT_FALSE(error);
        EXPECT_FALSE(whole.Write("all of it"));
        EXPECT_FALSE(whole.Finish());
    }
    EXPECT_EQ(Content("whole"), "all of it");
}

TEST(NewFileTest, TakesThePermissionsOfTheFileItReplaces) {
    test::ScopedWorkDir dir;
    Write("original", "x");
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

TEST(PlaceTest, PlaceIfAbsentNeverOverwritesAndReplaceFileDoes) {
    test::ScopedWorkDir dir;
    Write("target", "old");
    Write("new", "new");
    EXPECT_EQ(PlaceIfAbsent("new", "target"), std::errc::file_exists);
    EXPECT_EQ(Content("target"), "old");
    EXPECT_FALSE(PlaceIfAbsent("new", "free"));
    EXPECT_EQ(Content("free"), "new");
    EXPECT_FALSE(std::filesystem::exists("new")) << "the file moves, it is not copied";
    EXPECT_FALSE(ReplaceFile("free", "target"));
    EXPECT_EQ(Content("target"), "new");
    EXPECT_FALSE(std::filesystem::exists("free"));
}

TEST(ReadRegularFileTest, ReadsWholeFilesAndRefusesWhatIsNoFileWithoutWaiting) {
    test::ScopedWorkDir dir;
    std::string text(100000, 'a');
    text += "end";
    Write("file", text);
    FileBytes bytes;
    ASSERT_FALSE(ReadRegularFile("file", bytes));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.bytes().data()), bytes.bytes().size()),
              text);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes.bytes().data()) % 8, 0u);

    std::filesystem::create_directory("folder");
    EXPECT_EQ(ReadRegularFile("folder", bytes), std::errc::is_a_directory);
    EXPECT_EQ(ReadRegularFile("missing", bytes), std::errc::no_such_file_or_directory);
    // A FIFO with no writer would block an ordinary open for ever.
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    EXPECT_EQ(ReadRegularFile("fifo", bytes), std::errc::not_supported);
}

TEST(TemporaryFilesTest, LeftOversOfEndedProcessesGoAndOthersStay) {
    test::ScopedWorkDir dir;
    const std::filesystem::path mine = TemporaryPath("data.new-");
    Write(mine, "a running writer's");
    Write("data.new-999999999-1", "a dead writer's");
    Write("data.new-x-1", "not a temporary name");
    RemoveDeadTemporaries("data.new-");
    EXPECT_TRUE(std::filesystem::exists(mine));
    EXPECT_FALSE(std::filesystem::exists("data.new-999999999-1"));
    EXPECT_TRUE(std::filesystem::exists("data.new-x-1"));
}

}  // namespace
}  // namespace zelk::platform
