#include "ui/MainForm.h"

#include <utility>

#include "base/AtScopeEnd.h"
#include "base/CodePage.h"
#include "base/Unicode.h"
#include "database/RecordOperations.h"
#include "lookup/DatabasePieces.h"
#include "text/SplitWalk.h"

namespace zelk::ui {

namespace {

constexpr std::u16string_view kEmptyKey = u"原始字不能为空！";
constexpr std::u16string_view kEmptyReplacement = u"替换字不能为空！";
constexpr std::u16string_view kNoEntry = u"该替换字不存在！";
constexpr std::u16string_view kSaved = u"保存成功！";
constexpr std::u16string_view kDeleted = u"删除成功！";
constexpr std::u16string_view kCloseAnyway = u"原始句子未能保存。仍要关闭吗？";
constexpr int kEditWidthMargin = 27;  // resize rule: outer width minus this

std::u16string DeleteQuestion(const std::string& key) {
    return u"确定删除【" + base::AnsiToUtf16(key) + u"】吗？";
}

}  // namespace

MainForm::MainForm(std::u16string toolPage) : toolPage_(std::move(toolPage)) {}

MainForm::~MainForm() = default;

std::string MainForm::AnsiText(Box box) const {
    return base::Utf16ToAnsi(BoxText(box));
}

void MainForm::SetAnsiText(Box box, std::string_view windowText) {
    SetBoxText(box, base::AnsiToUtf16(windowText));
}

void MainForm::ReportError(std::string_view message) noexcept {
    try {
        ShowError(base::Utf8ToUtf16(message));
    } catch (...) {
        // Nothing is left to tell it with.
    }
}

// --- Window events -----------------------------------------------------------

void MainForm::FormShow() {
    SetTitles(kWindowTitle);
    SetAnsiText(Box::Sentence, db::LoadSavedSentence(ADOQueryInit));
    sentenceLoaded_ = true;
    NavigateWebPanel(toolPage_);
}

void MainForm::FormResize() {
    ruledOuterWidth_ = OuterWidth();
    const int width = ruledOuterWidth_ - kEditWidthMargin;
    SetBoxWidth(Box::Sentence, width);
    SetBoxWidth(Box::Result, width);
}

void MainForm::FormClose() {
    // When the saved sentence could not be read, the box still holds the
    // form's text: storing it would overwrite the user's real sentence. Only
    // what the user typed or pasted since is theirs to keep.
    if (!sentenceLoaded_ && !BoxModified(Box::Sentence)) return;
    db::StoreSavedSentence(ADOQueryInit, AnsiText(Box::Sentence));
}

bool MainForm::CloseRequested() {
    if (splitRunning_ && !sessionEnding_) {
        deferredClose_ = true;
        return false;
    }
    // At session end the sentence has been stored already and no box may ask.
    if (sessionEnding_ || Guarded([this] { FormClose(); })) return true;
    // The sentence could not be stored: the user decides whether to lose it,
    // unless the session ended while the error box was up.
    return sessionEnding_ || Confirm(kCloseAnyway) == ConfirmAnswer::Yes;
}

void MainForm::SessionEnd(bool quitAfterwards) {
    if (sessionEnding_) return;
    if (splitRunning_) {
        if (quitAfterwards || deferredSessionEnd_ == Deferred::Nothing)
            deferredSessionEnd_ = quitAfterwards ? Deferred::Terminate : Deferred::Save;
        return;
    }
    // The status comes from the store's own commit.
    bool stored = true;
    try {
        FormClose();
    } catch (const std::exception& error) {
        stored = false;
        ReportToLog(std::string("zelk: the sentence could not be stored: ") + error.what());
    }
    if (!quitAfterwards) return;
    sessionEnding_ = true;
    Quit(stored ? 0 : 1);
}

void MainForm::RunDeferredRequests() {
    const Deferred sessionEnd = std::exchange(deferredSessionEnd_, Deferred::Nothing);
    if (sessionEnd != Deferred::Nothing) SessionEnd(sessionEnd == Deferred::Terminate);
    if (std::exchange(deferredClose_, false) && !sessionEnding_) PostClose();
}

void MainForm::btnCloseClick() {
    CloseWindow();
}

// --- Split and copy ------------------------------------------------------------

void MainForm::btnZelkClick() {
    const std::u16string sentence = base::ThroughCodePage(BoxText(Box::Sentence));
    SetBoxText(Box::Result, u"");
    // Runs last, when the split's read of the database has ended, however it ended.
    splitRunning_ = true;
    const base::AtScopeEnd afterSplit([this] {
        splitRunning_ = false;
        RunDeferredRequests();
    });
    // Pieces gather here and reach the box when the split ends, however it
    // ends: the box shows pieces 1 to k-1 after a failure at the k-th
    // character, without rewriting the whole box for every piece.
    std::u16string result;
    const base::AtScopeEnd showResult([&] {
        SetBoxText(Box::Result, base::ThroughCodePage(result));
        Repaint();
    });
    const std::unique_ptr<BusyIndicator> busy = ShowBusy();
    lookup::DatabasePieces pieces(ADOQuery1);
    text::SplitSentence(sentence, pieces, [&](std::u16string_view, std::u16string_view piece) {
        result += piece;
        busy->Tick();
    });
}

void MainForm::btnCopyClick() {
    FocusBox(Box::Result);
    SelectAll(Box::Result);
    if (HasSelection(Box::Result)) CopySelection(Box::Result);
}

void MainForm::btnZelkAndCopyClick() {
    btnZelkClick();
    btnCopyClick();
}

// --- Maintenance panel -----------------------------------------------------------

void MainForm::Refuse(std::u16string_view message, Box box) {
    ShowInformation(message);
    FocusBox(box);
}

bool MainForm::RefuseEmptyKey(const std::string& key) {
    if (!key.empty()) return false;
    Refuse(kEmptyKey, Box::Key);
    return true;
}

void MainForm::cbKuClick() {
    SetPanelVisible(KuChecked());
}

void MainForm::btnOKClick() {
    const std::string key = AnsiText(Box::Key);
    if (RefuseEmptyKey(key)) return;
    const std::optional<std::string> replacement = db::FindEntry(ADOQuery2, key);
    if (!replacement) {
        Refuse(kNoEntry, Box::Key);
        return;
    }
    SetAnsiText(Box::Replacement, *replacement);
}

void MainForm::btnSaveClick() {
    const std::string key = AnsiText(Box::Key);
    const std::string replacement = AnsiText(Box::Replacement);
    if (RefuseEmptyKey(key)) return;
    if (replacement.empty()) {
        Refuse(kEmptyReplacement, Box::Replacement);
        return;
    }
    db::SaveEntry(ADOQuery2, key, replacement);
    ShowInformation(kSaved);
}

void MainForm::btnDelClick() {
    const std::string key = AnsiText(Box::Key);
    if (RefuseEmptyKey(key)) return;
    if (Confirm(DeleteQuestion(key)) != ConfirmAnswer::Yes) return;
    db::DeleteEntry(ADOQuery2, key);
    ShowInformation(kDeleted);
}

}  // namespace zelk::ui
