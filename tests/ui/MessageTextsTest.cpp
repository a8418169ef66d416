#include "ui/MessageTexts.h"

#include <gtest/gtest.h>

namespace zelk::ui {
namespace {

TEST(MessageTextsTest, ErrorTextGetsAFullStopAfterCharactersBeyondIt) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Field 'x' not found", u"Field 'x' not found."},
        {u"code 7", u"code 7."},
        {u"找不到", u"找不到."},
        {u"错误。", u"错误。."},  // the ideographic full stop comes after "."
        {u"错误！", u"错误！."},
        {u"Done.", u"Done."},
        {u"Done!", u"Done!"},
        {u"file 'a'", u"file 'a'"},
        {u"a\n", u"a\n"},
        {u"a/", u"a/."},  // "/" comes after "."
        {u"", u""},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(ErrorBoxText(message), shown);
}

TEST(MessageTextsTest, FatalErrorTextNamesKindModuleAndAddress) {
    const std::u16string address =
        std::u16string(sizeof(void*) * 2 - 6, u'0') + u"401000";
    EXPECT_EQ(FatalErrorText(u"zelk::db::EEngineError", u"zelk", 0x401000, u"Could not create"),
              u"Exception zelk::db::EEngineError in module zelk at " + address +
                  u".\nCould not create.");
    EXPECT_TRUE(FatalErrorText(u"E", u"m", 0xABCDEF, u"Ends.").ends_with(u"ABCDEF.\nEnds."));
}

TEST(MessageTextsTest, ClipboardTextFramesCaptionTextAndButtons) {
    const std::u16string dashes(27, u'-');
    EXPECT_EQ(MessageBoxClipboardText(u"确认", u"确定删除【好】吗？", {u"是", u"否"}),
              dashes + u"\r\n确认\r\n" + dashes + u"\r\n确定删除【好】吗？\r\n" + dashes +
                  u"\r\n是   否   \r\n" + dashes + u"\r\n");
}

}  // namespace
}  // namespace zelk::ui
