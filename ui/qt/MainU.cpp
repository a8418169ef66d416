#include "ui/qt/MainU.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWindow>
#include <iostream>

#include "ui/qt/ApplicationTitle.h"
#include "ui/qt/BusyCursor.h"
#include "ui/qt/MessageBoxes.h"
#include "ui/qt/ScreenPlacement.h"
#include "ui/qt/SessionEndWatcher.h"
#include "ui/qt/Utf16Text.h"

namespace {

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

class QtBusyIndicator : public zelk::ui::BusyIndicator {
  public:
    void Tick() override { cursor_.Tick(); }

  private:
    BusyCursor cursor_;
};

}  // namespace

TfrmMian::TfrmMian(QWidget* parent, MainWindowOptions options)
    : QWidget(parent),
      MainForm(ToUtf16(options.toolPage.toString())),
      hasWebPanel_(options.webPanel) {
    TWebBrowser::RequireUsableSandbox();  // the form makes the browser, which starts the engine
    setupUi(this);
    if (!hasWebPanel_) {
        delete WebBrowser1;
        WebBrowser1 = nullptr;
    }
    setFont(WindowFont(font()));
    StatusBar1->setFont(QApplication::font("QStatusBar"));
    BindHandlers();

    sessionEndWatcher_ = new SessionEndWatcher(this);
    connect(sessionEndWatcher_, &SessionEndWatcher::saveRequested, this,
            [this] { SessionEnd(false); });
    connect(sessionEndWatcher_, &SessionEndWatcher::terminationRequested, this,
            [this] { SessionEnd(true); });
}

TfrmMian::~TfrmMian() = default;

void TfrmMian::BindHandlers() {
    const auto bind = [this](QAbstractButton* button, void (MainForm::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
    };
    bind(btnClose, &MainForm::btnCloseClick);
    bind(btnZelk, &MainForm::btnZelkClick);
    bind(btnCopy, &MainForm::btnCopyClick);
    bind(btnZelkAndCopy, &MainForm::btnZelkAndCopyClick);
    bind(cbKu, &MainForm::cbKuClick);
    bind(btnOK, &MainForm::btnOKClick);
    bind(btnSave, &MainForm::btnSaveClick);
    bind(btnDel, &MainForm::btnDelClick);
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
    Guarded([this] { FormShow(); });
    if (!focusWidget()) btnClose->setFocus(Qt::ActiveWindowFocusReason);
}

void TfrmMian::closeEvent(QCloseEvent* event) {
    if (CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TfrmMian::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] { FormResize(); });
}

void TfrmMian::FinishFirstPlacement() {
    if (!placementPending_ || windowHandle()->frameMargins() == placedMargins_) return;
    placementPending_ = false;
    CentreOnScreen(*this);
    if (frameGeometry().width() != RuledOuterWidth()) Guarded([this] { FormResize(); });
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
    if (frameGeometry().width() != RuledOuterWidth()) Guarded([this] { FormResize(); });
}

// --- The form's side of the behaviour ----------------------------------------

QLineEdit* TfrmMian::BoxWidget(Box box) const {
    switch (box) {
        case Box::Sentence:
            return edt1;
        case Box::Result:
            return edt2;
        case Box::Key:
            return chr1;
        case Box::Replacement:
            return chr2;
    }
    return edt1;
}

std::u16string TfrmMian::BoxText(Box box) const {
    return ToUtf16(BoxWidget(box)->text());
}

void TfrmMian::SetBoxText(Box box, std::u16string_view text) {
    const QString shown = FromUtf16(text);
    if (BoxWidget(box)->text() != shown) BoxWidget(box)->setText(shown);
}

bool TfrmMian::BoxModified(Box box) const {
    return BoxWidget(box)->isModified();
}

void TfrmMian::FocusBox(Box box) {
    BoxWidget(box)->setFocus(Qt::OtherFocusReason);
}

void TfrmMian::SelectAll(Box box) {
    BoxWidget(box)->selectAll();
}

bool TfrmMian::HasSelection(Box box) const {
    return BoxWidget(box)->hasSelectedText();
}

void TfrmMian::CopySelection(Box box) {
    BoxWidget(box)->copy();
}

void TfrmMian::SetBoxWidth(Box box, int width) {
    BoxWidget(box)->resize(width, BoxWidget(box)->height());
}

int TfrmMian::OuterWidth() const {
    return frameGeometry().width();
}

void TfrmMian::SetTitles(std::u16string_view title) {
    setWindowTitle(FromUtf16(title));
    SetApplicationTitle(FromUtf16(title));
}

bool TfrmMian::KuChecked() const {
    return cbKu->isChecked();
}

void TfrmMian::SetPanelVisible(bool visible) {
    pnlEdit->setVisible(visible);
}

void TfrmMian::NavigateWebPanel(std::u16string_view address) {
    if (WebBrowser1) WebBrowser1->Navigate(QUrl(FromUtf16(address)));
}

void TfrmMian::Repaint() {
    update();
}

std::unique_ptr<zelk::ui::BusyIndicator> TfrmMian::ShowBusy() {
    return std::make_unique<QtBusyIndicator>();
}

void TfrmMian::ShowInformation(std::u16string_view text) {
    ::ShowInformation(FromUtf16(text));
}

zelk::ui::ConfirmAnswer TfrmMian::Confirm(std::u16string_view text) {
    return ::Confirm(FromUtf16(text));
}

void TfrmMian::ShowError(std::u16string_view message) {
    ::ShowError(FromUtf16(message));
}

void TfrmMian::CloseWindow() {
    close();
}

void TfrmMian::PostClose() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TfrmMian::Quit(int status) {
    // exit() ends every event loop, an open message box's too, without
    // asking the window to close again (quit() would). A signal during the
    // start's error box comes before the main loop runs: the posted exit
    // ends that loop as soon as it starts.
    QCoreApplication::exit(status);
    QMetaObject::invokeMethod(
        qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

void TfrmMian::ReportToLog(std::string_view message) {
    std::cerr << message << std::endl;
}
