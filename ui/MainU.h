#pragma once

#include <QMargins>
#include <QUrl>
#include <QWidget>
#include <string>
#include <string_view>

#include "AdoQuery.h"
#include "ui_MainU.h"

class SessionEndWatcher;

// How a window is built. The program always uses the defaults; tests and
// benchmarks point the web panel at a page of their own or leave it out.
struct MainWindowOptions {
    QUrl toolPage = QUrl(QStringLiteral("http://www.chengmo.example/qvx/tools/zelk/"));
    bool webPanel = true;
};

// The program's one window. Its layout is the form MainU.ui; everything it
// does happens in the handlers below, each entered from Qt through Guarded()
// so that an error it raises is shown in the error box.
class TfrmMian : public QWidget, private Ui::TfrmMian {
    Q_OBJECT

  public:
    explicit TfrmMian(QWidget* parent = nullptr, MainWindowOptions options = {});
    ~TfrmMian() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // Event handlers, as the layout binds them.
    void btnCloseClick(QObject* sender);
    void btnCopyClick(QObject* sender);
    void btnZelkAndCopyClick(QObject* sender);
    void btnZelkClick(QObject* sender);
    void cbKuClick(QObject* sender);
    void btnOKClick(QObject* sender);
    void btnSaveClick(QObject* sender);
    void btnDelClick(QObject* sender);
    void FormShow(QObject* sender);
    void FormResize(QObject* sender);
    void FormClose(QObject* sender, QCloseEvent* event);

    // The maintenance panel's input check: an empty key is refused with its
    // message, and the focus goes to the key box.
    bool RefuseEmptyKey(const std::string& key);
    void BindHandlers();
    void StoreSentenceAtSessionEnd(bool quitAfterwards);

    zelk::TADOConnection ADOConnection1;
    zelk::TADOQuery ADOQuery1{"ADOQuery1", ADOConnection1};
    zelk::TADOQuery ADOQuery2{"ADOQuery2", ADOConnection1};
    zelk::TADOQuery ADOQueryInit{"ADOQueryInit", ADOConnection1};

    QUrl toolPage_;
    SessionEndWatcher* sessionEndWatcher_ = nullptr;
    bool shown_ = false;
    // Whether the show sequence read the saved sentence: until it has, the
    // sentence box holds the form's text, which is not the user's to store.
    bool sentenceLoaded_ = false;
    bool sessionEnding_ = false;
    // A split shows the busy cursor, which lets the window system's events in:
    // a session end or a close that comes then waits until the split, and
    // its read of the database, has ended.
    bool splitRunning_ = false;
    enum class Deferred { Nothing, Save, Terminate } deferredSessionEnd_ = Deferred::Nothing;
    bool deferredClose_ = false;
    void RunDeferredRequests();
    int ruledOuterWidth_ = -1;  // the outer width the resize rule last applied
    // A window manager draws the frame only once the window is mapped: the
    // first placement is made again, by the outer frame, when the frame is
    // first known.
    bool placementPending_ = false;
    QMargins placedMargins_;
    void FinishFirstPlacement();
};
