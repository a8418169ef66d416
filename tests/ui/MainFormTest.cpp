// The window's behaviour on a form made of plain values: what every
// toolkit's window does, whatever draws it.
#include "ui/MainForm.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>

#include "TestDatabase.h"
#include "database/DatabaseErrors.h"

namespace zelk::ui {
namespace {

constexpr std::u16string_view kInitialText = u"拆功，阴阳，请让精神好，骆驼，难捉狗";

// A form that holds its boxes as strings and records what it was asked.
class FakeForm : public MainForm {
  public:
    FakeForm() : MainForm(u"http://page.example/") { boxes[Box::Sentence] = kInitialText; }

    std::map<Box, std::u16string> boxes;
    std::map<Box, int> widths;
    std::map<Box, bool> modified;
    std::u16string title;
    std::u16string clipboard = u"before";
    std::vector<std::u16string> shown;     // information, confirmation and error boxes, in order
    std::vector<std::u16string> visited;   // the web panel's addresses
    std::deque<ConfirmAnswer> answers;     // for the confirmation boxes to come
    std::optional<Box> focus;
    bool selected = false;
    bool panelVisible = false;
    bool kuChecked = false;
    int closeRequests = 0;
    int outerWidth = 924;
    std::optional<int> quitStatus;
    std::vector<std::string> log;
    std::function<void()> onTick;  // what happens while a split runs

  private:
    class Busy : public BusyIndicator {
      public:
        explicit Busy(FakeForm& form) : form_(form) {}
        void Tick() override {
            if (form_.onTick) std::exchange(form_.onTick, nullptr)();
        }

      private:
        FakeForm& form_;
    };

    std::u16string BoxText(Box box) const override { return boxes.at(box); }
    void SetBoxText(Box box, std::u16string_view text) override {
        boxes[box] = text;
        modified[box] = false;
    }
    bool BoxModified(Box box) const override { return modified.contains(box) && modified.at(box); }
    void FocusBox(Box box) override { focus = box; }
    void SelectAll(Box) override { selected = true; }
    bool HasSelection(Box box) const override { return selected && !boxes.at(box).empty(); }
    void CopySelection(Box box) override { clipboard = boxes.at(box); }
    void SetBoxWidth(Box box, int width) override { widths[box] = width; }
    int OuterWidth() const override { return outerWidth; }
    void SetTitles(std::u16string_view text) override { title = text; }
    bool KuChecked() const override { return kuChecked; }
    void SetPanelVisible(bool visible) override { panelVisible = visible; }
    void NavigateWebPanel(std::u16string_view address) override { visited.emplace_back(address); }
    void Repaint() override {}
    std::unique_ptr<BusyIndicator> ShowBusy() override { return std::make_unique<Busy>(*this); }
    void ShowInformation(std::u16string_view text) override { shown.emplace_back(text); }
    ConfirmAnswer Confirm(std::u16string_view text) override {
        shown.emplace_back(text);
        const ConfirmAnswer answer = answers.empty() ? ConfirmAnswer::Cancel : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    void ShowError(std::u16string_view message) override {
        shown.push_back(u"error: " + std::u16string(message));
    }
    void CloseWindow() override { ++closeRequests; }
    void PostClose() override { ++closeRequests; }
    void Quit(int status) override { quitStatus = status; }
    void ReportToLog(std::string_view message) override { log.emplace_back(message); }
};

class MainFormTest : public ::testing::Test {
  protected:
    test::ScopedWorkDir dir;
    FakeForm form;
};

TEST_F(MainFormTest, ShowReadsTheSentenceSetsTheTitleAndLoadsThePageOnce) {
    test::MakeDatabase({{"好", "女子"}});
    test::RunSql("update sv set val = '你好'");
    EXPECT_TRUE(form.Guarded([&] { form.FormShow(); }));
    EXPECT_EQ(form.title, u"澄墨 - 拆字工具");
    EXPECT_EQ(form.boxes[Box::Sentence], u"你好");
    EXPECT_EQ(form.visited, std::vector<std::u16string>{u"http://page.example/"});
}

TEST_F(MainFormTest, AShowThatCannotReadTheSentenceKeepsTheFormTextAndNeverStoresIt) {
    EXPECT_FALSE(form.Guarded([&] { form.FormShow(); }));  // no database yet
    ASSERT_EQ(form.shown.size(), 1u);
    EXPECT_TRUE(form.shown[0].starts_with(u"error: Could not find file")) << form.shown[0].size();
    EXPECT_EQ(form.boxes[Box::Sentence], kInitialText);
    EXPECT_TRUE(form.visited.empty()) << "the page is the sequence's last step";
    // The file appears; the untouched form text must not overwrite the real sentence.
    test::MakeDatabase({});
    test::RunSql("update sv set val = 'the real sentence'");
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(test::QueryColumn("select val from sv"), std::vector<std::string>{"the real sentence"});
    form.modified[Box::Sentence] = true;  // typed since
    EXPECT_TRUE(form.CloseRequested());
    EXPECT_EQ(test::QueryColumn("select val from sv"),
              std::vector<std::string>{"拆功，阴阳，请让精神好，骆驼，难捉狗"});
}

TEST_F(MainFormTest, SplitAndCopyPutsThePiecesInTheResultBoxAndOnTheClipboard) {
    test::MakeDatabase({{"好", "女子"}, {"𠮷", "士口"}});
    form.boxes[Box::Sentence] = std::u16string(u"好𠮷x") + char16_t(0xD800);
    form.btnZelkAndCopyClick();
    // A lone surrogate is no character of the window text: it arrives as "?".
    EXPECT_EQ(form.boxes[Box::Result], u"女子士口x?");
    EXPECT_EQ(form.clipboard, u"女子士口x?");
    EXPECT_EQ(form.focus, Box::Result);
}

TEST_F(MainFormTest, CopyOfAnEmptyResultLeavesTheClipboardButFocusesTheBox) {
    form.boxes[Box::Result] = u"";
    form.btnCopyClick();
    EXPECT_EQ(form.clipboard, u"before");
    EXPECT_EQ(form.focus, Box::Result);
}

TEST_F(MainFormTest, AFailedSplitShowsThePiecesBeforeTheFaultAndSkipsTheCopy) {
    test::MakeDatabase({{"好", "女子"}});
    test::RunSql(
        "drop table chr12; create table chr12 (chr1 text, other text);"
        "insert into chr12 values ('坏', 'x')");
    form.boxes[Box::Sentence] = u"好人坏了";
    EXPECT_FALSE(form.Guarded([&] { form.btnZelkAndCopyClick(); }));
    EXPECT_EQ(form.boxes[Box::Result], u"好人");
    EXPECT_EQ(form.shown, std::vector<std::u16string>{u"error: ADOQuery1: Field 'chr2' not found"});
    EXPECT_EQ(form.clipboard, u"before");
}

TEST_F(MainFormTest, MaintenancePanelChecksItsInputAndReports) {
    test::MakeDatabase({{"好", "女子"}});
    form.boxes[Box::Key] = u"";
    form.boxes[Box::Replacement] = u"";
    form.btnSaveClick();
    EXPECT_EQ(form.shown.back(), u"原始字不能为空！");
    EXPECT_EQ(form.focus, Box::Key);
    form.boxes[Box::Key] = u"林";
    form.btnSaveClick();
    EXPECT_EQ(form.shown.back(), u"替换字不能为空！");
    EXPECT_EQ(form.focus, Box::Replacement);
    form.btnOKClick();
    EXPECT_EQ(form.shown.back(), u"该替换字不存在！");
    form.boxes[Box::Replacement] = u"木木";
    form.btnSaveClick();
    EXPECT_EQ(form.shown.back(), u"保存成功！");
    form.boxes[Box::Replacement] = u"";
    form.btnOKClick();
    EXPECT_EQ(form.boxes[Box::Replacement], u"木木");

    form.answers = {ConfirmAnswer::No, ConfirmAnswer::Yes};
    form.btnDelClick();
    EXPECT_EQ(form.shown.back(), u"确定删除【林】吗？") << "no answers yes: nothing happens";
    form.btnDelClick();
    EXPECT_EQ(form.shown.back(), u"删除成功！");
    form.answers = {ConfirmAnswer::Yes};
    EXPECT_FALSE(form.Guarded([&] { form.btnDelClick(); }));
    EXPECT_EQ(form.shown.back(), u"error: ADOQuery2: Cannot perform this operation on an empty dataset");
}

TEST_F(MainFormTest, TheKuBoxShowsThePanelAsItIsTicked) {
    form.kuChecked = true;
    form.cbKuClick();
    EXPECT_TRUE(form.panelVisible);
    form.kuChecked = false;
    form.cbKuClick();
    EXPECT_FALSE(form.panelVisible);
}

TEST_F(MainFormTest, TheResizeRuleKeepsTheBoxesTwentySevenPixelsNarrowerThanTheWindow) {
    form.outerWidth = 1300;
    form.FormResize();
    EXPECT_EQ(form.widths[Box::Sentence], 1273);
    EXPECT_EQ(form.widths[Box::Result], 1273);
    EXPECT_EQ(form.RuledOuterWidth(), 1300);
}

TEST_F(MainFormTest, AStoreThatFailsAtCloseLetsTheUserChoose) {
    test::MakeDatabase({});
    form.FormShow();
    test::ScopedDatabaseLock lock;
    form.answers = {ConfirmAnswer::No, ConfirmAnswer::Yes};
    EXPECT_FALSE(form.CloseRequested());
    EXPECT_TRUE(form.shown[0].starts_with(u"error: "));
    EXPECT_EQ(form.shown[1], u"原始句子未能保存。仍要关闭吗？");
    EXPECT_TRUE(form.CloseRequested());
}

TEST_F(MainFormTest, ASessionEndDuringASplitWaitsForItAndStoresTheSentence) {
    test::MakeDatabase({{"好", "女子"}});
    form.FormShow();
    form.boxes[Box::Sentence] = u"好好";
    form.onTick = [&] {
        form.SessionEnd(true);  // a termination signal, while the split reads
        EXPECT_FALSE(form.quitStatus) << "nothing is stored inside the split's read";
        EXPECT_FALSE(form.CloseRequested()) << "a close waits as well";
    };
    form.btnZelkClick();
    EXPECT_EQ(form.boxes[Box::Result], u"女子女子");
    EXPECT_EQ(form.quitStatus, 0);
    EXPECT_EQ(test::QueryColumn("select val from sv"), std::vector<std::string>{"好好"});
    EXPECT_TRUE(form.SessionEnding());
    EXPECT_EQ(form.closeRequests, 0) << "the program ends; the window is not asked again";
}

TEST_F(MainFormTest, ASessionEndThatCannotStoreReportsToTheLogAndEndsWithOne) {
    test::MakeDatabase({});
    form.FormShow();
    test::ScopedDatabaseLock lock;
    form.SessionEnd(true);
    EXPECT_EQ(form.quitStatus, 1);
    ASSERT_EQ(form.log.size(), 1u);
    EXPECT_TRUE(form.log[0].starts_with("zelk: the sentence could not be stored: "));
    EXPECT_TRUE(form.shown.empty()) << "no box waits for an answer at session end";
}

}  // namespace
}  // namespace zelk::ui
