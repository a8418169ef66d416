#pragma once

#include <QUrl>
#include <QWebEngineView>

// The web panel's browser: Qt WebEngine in place of the WebBrowser control.
// The window creates it with its layout, hands it the stored state and, at
// the end of the show sequence, tells it once which page to load. The program
// handles none of its events.
class TWebBrowser : public QWebEngineView {
    Q_OBJECT
    // The stored state from the layout data, base64 of the 156-byte block.
    Q_PROPERTY(QString ControlData READ controlData WRITE setControlData)

  public:
    // Raises std::runtime_error when the browser engine cannot be created.
    explicit TWebBrowser(QWidget* parent = nullptr);

    // Chromium will not run its sandbox as root and then ends the whole
    // process without a word. Raises std::runtime_error, with what to do,
    // when the engine would start so; call it before creating a browser.
    static void RequireUsableSandbox();

    QString controlData() const { return controlData_; }
    // Reads the control's size from the block; a block that cannot be read
    // is dropped without a message and the browser starts fresh.
    void setControlData(const QString& base64Block);

    // Starts loading the page in the panel itself: a plain GET, no body, no
    // headers of the program's own. Raises std::runtime_error when the
    // navigation cannot start.
    void Navigate(const QUrl& address);

    // Requests for a new window load in the panel: there is no other window.
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;

  private:
    QString controlData_;
};
