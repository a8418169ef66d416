#include "MainU.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopeGuard>
#include <QWindow>
#include <iostream>
#include <utility>

#include "ApplicationTitle.h"
#include "BusyCursor.h"
#include "CodePage.h"
#include "DictionaryLookup.h"
#include "ErrorGuard.h"
#include "MessageBoxes.h"
#include "RecordOperations.h"
#include "ScreenPlacement.h"
#include "SessionEndWatcher.h"
#include "WindowText.h"

namespace {

const QString kTitle = QStringLiteral("澄墨 - 拆字工具");
const QString kEmptyKey = QStringLiteral("原始字不能为空！");
const QString kEmptyReplacement = QStringLiteral("替换字不能为空！");
const QString kNoEntry = QStringLiteral("该替换字不存在！");
const QString kSaved = QStringLiteral("保存成功！");
const QString kDeleted = QStringLiteral("删除成功！");
constexpr int kEditWidthMargin = 27;  // resize rule: outer width minus this
const QString kCloseAnyway = QStringLiteral("原始句子未能保存。仍要关闭吗？");

QString DeleteQuestion(const std::string& key) {
    return QStringLiteral("确定删除【") + FromWindowText(key) + QStringLiteral("】吗？");
}

// The window font, 宋体 at 16 pixels, with the Song and Ming faces that stand
// in for it where it is not installed. Latin letters and digits come first
// from a serif face of their own: the Song faces' Latin glyphs draw "l" and
// "1" alike. It has no Chinese characters, so those fall through to the Song.
QFont WindowFont(QFont font) {
    font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("宋体"),
                      QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Serif CJK SC")});
    font.setPixelSize(16);
    return font;
}

}  // namespace

TfrmMian::TfrmMian(QWidget* parent, MainWindowOptions options)
    : QWidget(parent), toolPage_(std::move(options.toolPage)) {
    TWebBrowser::RequireUsableSandbox();  // the form makes the browser, which starts the engine
    setupUi(this);
    if (!options.webPanel) {
        delete WebBrowser1;
        WebBrowser1 = nullptr;
    }
    setFont(WindowFont(font()));
    StatusBar1->setFont(QApplication::font("QStatusBar"));
    BindHandlers();

    sessionEndWatcher_ = new SessionEndWatcher(this);
    connect(sessionEndWatcher_, &SessionEndWatcher::saveRequested, this,
            [this] { StoreSentenceAtSessionEnd(false); });
    connect(sessionEndWatcher_, &SessionEndWatcher::terminationRequested, this,
            [this] { StoreSentenceAtSessionEnd(true); });
}

TfrmMian::~TfrmMian() = default;

void TfrmMian::BindHandlers() {
    const auto bind = [this](QAbstractButton* button, void (TfrmMian::*handler)(QObject*)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, button, handler] { Guarded([&] { (this->*handler)(button); }); });
    };
    bind(btnClose, &TfrmMian::btnCloseClick);
    bind(btnZelk, &TfrmMian::btnZelkClick);
    bind(btnCopy, &TfrmMian::btnCopyClick);
    bind(btnZelkAndCopy, &TfrmMian::btnZelkAndCopyClick);
    bind(cbKu, &TfrmMian::cbKuClick);
    bind(btnOK, &TfrmMian::btnOKClick);
    bind(btnSave, &TfrmMian::btnSaveClick);
    bind(btnDel, &TfrmMian::btnDelClick);
}

// --- Window events -------------------------------------------------------

void TfrmMian::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // Delivered before the window is mapped: the placement, the sequence and
    // its error box all happen before the window becomes visible. Placed
    // first, so that the window is not off the screen behind an error box.
    CentreOnScreen(*this);
    placementPending_ = windowHandle() != nullptr;
    if (placementPending_) placedMargins_ = windowHandle()->frameMargins();
    Guarded([this] { FormShow(this); });
    if (!focusWidget()) btnClose->setFocus(Qt::ActiveWindowFocusReason);
}

void TfrmMian::closeEvent(QCloseEvent* event) {
    if (splitRunning_ && !sessionEnding_) {
        deferredClose_ = true;
        event->ignore();
        return;
    }
    // At session end the sentence has been stored already and no box may ask.
    if (sessionEnding_ || Guarded([&] { FormClose(this, event); })) {
        event->accept();
        return;
    }
    // The sentence could not be stored: the user decides whether to lose it,
    // unless the session ended while the error box was up.
    if (sessionEnding_ || Confirm(kCloseAnyway) == ConfirmAnswer::Yes) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmMian::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] { FormResize(this); });
}

void TfrmMian::FinishFirstPlacement() {
    if (!placementPending_ || windowHandle()->frameMargins() == placedMargins_) return;
    placementPending_ = false;
    CentreOnScreen(*this);
    if (frameGeometry().width() != ruledOuterWidth_) Guarded([this] { FormResize(this); });
}

void TfrmMian::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) FinishFirstPlacement();
}

void TfrmMian::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    FinishFirstPlacement();
    // The window manager may report the frame only after the window is
    // mapped, without a resize: the outer width then changes all the same.
    if (frameGeometry().width() != ruledOuterWidth_) Guarded([this] { FormResize(this); });
}

void TfrmMian::FormShow(QObject*) {
    setWindowTitle(kTitle);
    SetApplicationTitle(kTitle);
    WriteBoxText(edt1, zelk::LoadSavedSentence(ADOQueryInit));
    sentenceLoaded_ = true;
    if (WebBrowser1) WebBrowser1->Navigate(toolPage_);
}

void TfrmMian::FormResize(QObject*) {
    ruledOuterWidth_ = frameGeometry().width();
    const int width = ruledOuterWidth_ - kEditWidthMargin;
    edt1->resize(width, edt1->height());
    edt2->resize(width, edt2->height());
}

void TfrmMian::FormClose(QObject*, QCloseEvent*) {
    // When the saved sentence could not be read, the box still holds the
    // form's text: storing it would overwrite the user's real sentence. Only
    // what the user typed or pasted since is theirs to keep.
    if (!sentenceLoaded_ && !edt1->isModified()) return;
    zelk::StoreSavedSentence(ADOQueryInit, ReadBoxText(edt1));
}

void TfrmMian::StoreSentenceAtSessionEnd(bool quitAfterwards) {
    if (sessionEnding_) return;
    if (splitRunning_) {
        if (quitAfterwards || deferredSessionEnd_ == Deferred::Nothing)
            deferredSessionEnd_ = quitAfterwards ? Deferred::Terminate : Deferred::Save;
        return;
    }
    // No box may wait for an answer while the session goes: report to the
    // log. The status comes from the store's own commit.
    bool stored = true;
    try {
        FormClose(this, nullptr);
    } catch (const std::exception& error) {
        stored = false;
        std::cerr << "zelk: the sentence could not be stored: " << error.what() << std::endl;
    }
    if (!quitAfterwards) return;
    // exit() ends every event loop, an open message box's too, without
    // asking the window to close again (quit() would). A signal during the
    // start's error box comes before the main loop runs: the posted exit
    // ends that loop as soon as it starts.
    sessionEnding_ = true;
    const int status = stored ? 0 : 1;
    QCoreApplication::exit(status);
    QMetaObject::invokeMethod(
        qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

void TfrmMian::RunDeferredRequests() {
    const Deferred sessionEnd = std::exchange(deferredSessionEnd_, Deferred::Nothing);
    if (sessionEnd != Deferred::Nothing)
        StoreSentenceAtSessionEnd(sessionEnd == Deferred::Terminate);
    if (std::exchange(deferredClose_, false) && !sessionEnding_) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void TfrmMian::btnCloseClick(QObject*) {
    close();
}

// --- Split and copy --------------------------------------------------------

void TfrmMian::btnZelkClick(QObject*) {
    const std::u16string sentence = zelk::AnsiToUtf16(ReadBoxText(edt1));
    WriteBoxText(edt2, "");
    // Runs last, when the split's read transaction has ended, however it ended.
    splitRunning_ = true;
    const auto afterSplit = qScopeGuard([this] {
        splitRunning_ = false;
        RunDeferredRequests();
    });
    // Pieces gather here and reach the box when the split ends, however it
    // ends: the box shows pieces 1 to k-1 after a failure at the k-th
    // character, without rewriting the whole box for every piece.
    std::u16string result;
    const auto showResult = qScopeGuard([&] {
        WriteBoxText(edt2, zelk::Utf16ToAnsi(result));
        update();
    });
    BusyCursor busy;
    zelk::SplitWithDictionary(ADOQuery1, sentence, [&](std::u16string_view piece) {
        result += piece;
        busy.Tick();
    });
}

void TfrmMian::btnCopyClick(QObject*) {
    edt2->setFocus(Qt::OtherFocusReason);
    edt2->selectAll();
    if (edt2->hasSelectedText()) edt2->copy();
}

void TfrmMian::btnZelkAndCopyClick(QObject*) {
    btnZelkClick(btnZelk);
    btnCopyClick(btnCopy);
}

// --- Maintenance panel -----------------------------------------------------

bool TfrmMian::RefuseEmptyKey(const std::string& key) {
    if (!key.empty()) return false;
    ShowInformation(kEmptyKey);
    chr1->setFocus(Qt::OtherFocusReason);
    return true;
}

void TfrmMian::cbKuClick(QObject*) {
    pnlEdit->setVisible(cbKu->isChecked());
}

void TfrmMian::btnOKClick(QObject*) {
    const std::string key = ReadBoxText(chr1);
    if (RefuseEmptyKey(key)) return;
    const std::optional<std::string> replacement = zelk::FindEntry(ADOQuery2, key);
    if (!replacement) {
        ShowInformation(kNoEntry);
        chr1->setFocus(Qt::OtherFocusReason);
        return;
    }
    WriteBoxText(chr2, *replacement);
}

void TfrmMian::btnSaveClick(QObject*) {
    const std::string key = ReadBoxText(chr1);
    const std::string replacement = ReadBoxText(chr2);
    if (RefuseEmptyKey(key)) return;
    if (replacement.empty()) {
        ShowInformation(kEmptyReplacement);
        chr2->setFocus(Qt::OtherFocusReason);
        return;
    }
    zelk::SaveEntry(ADOQuery2, key, replacement);
    ShowInformation(kSaved);
}

void TfrmMian::btnDelClick(QObject*) {
    const std::string key = ReadBoxText(chr1);
    if (RefuseEmptyKey(key)) return;
    if (Confirm(DeleteQuestion(key)) != ConfirmAnswer::Yes) return;
    zelk::DeleteEntry(ADOQuery2, key);
    ShowInformation(kDeleted);
}
