#pragma once

#include <QObject>

class QSocketNotifier;

// Tells when the user's session ends while the program runs: the session
// manager asks the program to save its data (log off, shut down), or the
// session sends SIGTERM or SIGHUP. Signals are turned into a Qt signal on the
// UI thread through a socket pair, the one thing a signal handler may safely do.
class SessionEndWatcher : public QObject {
    Q_OBJECT

  public:
    explicit SessionEndWatcher(QObject* parent = nullptr);
    ~SessionEndWatcher() override;

  signals:
    // The session manager asks for the data to be saved; the program goes on.
    void saveRequested();
    // A termination signal came: save, then end.
    void terminationRequested();

  private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
};
