#pragma once

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "ui/qt/MainU.h"
#include "TestDatabase.h"

// QTEST_MAIN for the window's tests: the web panel needs the shared graphics
// context set before the application exists, as main() does.
#define ZELK_TEST_MAIN(TestClass)                                   \
    int main(int argc, char** argv) {                               \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); \
        QApplication application(argc, argv);                       \
        TestClass test;                                             \
        return QTest::qExec(&test, argc, argv);                     \
    }

// Where the windows of tests look for the tool page: nothing listens there,
// so no test sends anything off this machine.
inline const QUrl kUnreachableToolPage(QStringLiteral("http://127.0.0.1:9/qvx/tools/zelk/"));

// Answers the program's modal message boxes from the test: it watches for the
// next box, records what it shows, then does the next queued action (Escape
// when none is queued, which is then a failure the test sees in seen()).
class BoxDriver : public QObject {
    Q_OBJECT

  public:
    struct Box {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QString defaultButton;
    };
    using Action = std::function<void(QMessageBox*)>;

    BoxDriver();
    void answer(Action action) { actions_.append(std::move(action)); }
    void pressKey(Qt::Key key, int times = 1);
    void clickButton(const QString& caption);
    void closeByCloseBox();

    const QList<Box>& seen() const { return seen_; }
    // The texts of the boxes seen, for short comparisons.
    QStringList texts() const;

  private:
    void poll();

    QTimer timer_;
    QList<Action> actions_;
    QList<Box> seen_;
};

// A temporary working folder with a database made by the project's own code,
// and the window on it.
class WindowFixture {
  public:
    // Makes Zelk.dll with these entries (and the initial sentence) unless
    // withoutDatabase is set.
    explicit WindowFixture(const std::vector<zelk::base::DictionaryEntry>& entries = {},
                           bool withoutDatabase = false,
                           MainWindowOptions options = {kUnreachableToolPage, true});
    ~WindowFixture();

    TfrmMian& window() { return *window_; }
    // Shows the window and waits until it is active.
    bool showAndActivate();
    template <typename T>
    T* control(const char* name) {
        return window_->findChild<T*>(QString::fromLatin1(name));
    }
    // The saved sentence in the database, read directly.
    QString storedSentence() const;

  private:
    zelk::test::ScopedWorkDir dir_;
    std::unique_ptr<TfrmMian> window_;
};
