// The file operations every system must give alike: nothing overwritten
// that should not be, nothing left half-written.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "platform/Files.h"
#include "platform/TemporaryFiles.h"

namespace zelk::platform {
namespace {

TEST(NewFileTest, IsMadeOnlyWhereNothingIsAndStaysOnlyWhenFinished) {
    test::ScopedWorkDir dir;
    test::WriteWholeFile("taken", "old");
    std::error_code error;
    NewFile refused("taken", error);
    EXPECT_EQ(error, std::errc::file_exists);
    EXPECT_EQ(test::FileContent("taken"), "old");
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
    EXPECT_EQ(test::FileContent("whole"), "all of it");
}

TEST(PlaceTest, PlaceIfAbsentNeverOverwritesAndReplaceFileDoes) {
    test::ScopedWorkDir dir;
    test::WriteWholeFile("target", "old");
    test::WriteWholeFile("new", "new");
    EXPECT_EQ(PlaceIfAbsent("new", "target"), std::errc::file_exists);
    EXPECT_EQ(test::FileContent("target"), "old");
    EXPECT_FALSE(PlaceIfAbsent("new", "free"));
    EXPECT_EQ(test::FileContent("free"), "new");
    EXPECT_FALSE(std::filesystem::exists("new")) << "the file moves, it is not copied";
    EXPECT_FALSE(ReplaceFile("free", "target"));
    EXPECT_EQ(test::FileContent("target"), "new");
    EXPECT_FALSE(std::filesystem::exists("free"));
}

TEST(ReadRegularFileTest, ReadsWholeFilesAndRefusesWhatIsNoFileWithoutWaiting) {
    test::ScopedWorkDir dir;
    std::string text(100000, 'a');
    text += "end";
    test::WriteWholeFile("file", text);
    FileBytes bytes;
    ASSERT_FALSE(ReadRegularFile("file", bytes));
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(bytes.bytes().data()), bytes.bytes().size()),
        text);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes.bytes().data()) % 8, 0u);

    std::filesystem::create_directory("folder");
    EXPECT_EQ(ReadRegularFile("folder", bytes), std::errc::is_a_directory);
    EXPECT_EQ(ReadRegularFile("missing", bytes), std::errc::no_such_file_or_directory);
}

TEST(TemporaryFilesTest, LeftOversOfEndedProcessesGoAndOthersStay) {
    test::ScopedWorkDir dir;
    const std::filesystem::path mine = TemporaryPath("data.new-");
    test::WriteWholeFile(mine, "a running writer's");
    test::WriteWholeFile("data.new-999999999-1", "a dead writer's");
    test::WriteWholeFile("data.new-x-1", "not a temporary name");
    RemoveDeadTemporaries("data.new-");
    EXPECT_TRUE(std::filesystem::exists(mine));
    EXPECT_FALSE(std::filesystem::exists("data.new-999999999-1"));
    EXPECT_TRUE(std::filesystem::exists("data.new-x-1"));
}

}  // namespace
}  // namespace zelk::platform
