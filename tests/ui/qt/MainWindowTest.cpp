#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include "UiTestSupport.h"
#include "controls/qt/MPanel.h"
#include "controls/qt/McxButton.h"
#include "controls/qt/McxCheckBox.h"
#include "controls/qt/McxTextEdit.h"
#include "database/DatabaseErrors.h"
#include "ui/qt/ApplicationTitle.h"
#include "ui/qt/ChineseLocale.h"
#include "ui/qt/ProgramMain.h"
#include "ui/qt/SessionEndWatcher.h"

namespace {

const QString kTitle = QStringLiteral("澄墨 - 拆字工具");
const QString kInitial = QStringLiteral("拆功，阴阳，请让精神好，骆驼，难捉狗");

// The names of the controls that Tab visits from btnClose on, up to the web
// panel, which is last: inside it Tab moves through the page's own elements.
QStringList TabCycle(QWidget& window) {
    QStringList names;
    QWidget* start = window.findChild<QWidget*>("btnClose");
    QWidget* browser = window.findChild<QWidget*>("WebBrowser1");
    start->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 30; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) break;
        if (focus == browser || browser->isAncestorOf(focus)) {
            names << browser->objectName();
            break;
        }
        names << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
        if (QApplication::focusWidget() == start) break;
    }
    return names;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(UseSimplifiedChinese()); }

    void textBoxMenuIsInChinese() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        std::unique_ptr<QMenu> menu(
            fixture.control<QLineEdit>("edt1")->createStandardContextMenu());
        QStringList captions;
        for (const QAction* action : menu->actions()) captions << action->text();
        const QString all = captions.join('|');
        for (const char* caption : {"重做", "剪切", "复制", "粘贴", "全选"}) {
            QVERIFY2(all.contains(QString::fromUtf8(caption)), qPrintable(all));
        }
    }

    void startWithoutDatabaseReportsUnderTheTitleAndKeepsTheInitialSentence() {
        SetApplicationTitle(QString());
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        WindowFixture fixture({}, true);
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(driver.seen()[0].caption, kTitle);
        QVERIFY2(driver.seen()[0].text.startsWith("Could not find file '"),
                 qPrintable(driver.seen()[0].text));
        QVERIFY(driver.seen()[0].text.endsWith("Zelk.dll'."));
        QCOMPARE(fixture.window().windowTitle(), kTitle);
        QCOMPARE(fixture.control<QLineEdit>("edt1")->text(), kInitial);
        QCOMPARE(QApplication::focusWidget(), fixture.control<QWidget>("btnClose"));
        QVERIFY(!QFile::exists("Zelk.dll"));
    }

    void startShowsTheSavedSentenceAndFocusesClose() {
        WindowFixture fixture;
        zelk::test::RunSql("update sv set val = '上次的句子'");
        BoxDriver driver;
        QVERIFY(fixture.showAndActivate());
        QVERIFY(driver.seen().isEmpty());
        QCOMPARE(fixture.control<QLineEdit>("edt1")->text(), QStringLiteral("上次的句子"));
        QCOMPARE(fixture.control<QLineEdit>("edt2")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), fixture.control<QWidget>("btnClose"));
        QCOMPARE(ApplicationTitle(), kTitle);
    }

    void startWithoutSavedSentenceRowGivesAnEmptyBox() {
        WindowFixture fixture;
        zelk::test::RunSql("delete from sv");
        BoxDriver driver;
        QVERIFY(fixture.showAndActivate());
        QVERIFY(driver.seen().isEmpty());
        QCOMPARE(fixture.control<QLineEdit>("edt1")->text(), QString());
    }

    void enterOnCloseStoresAndCloses() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        fixture.control<QLineEdit>("edt1")->setText(QStringLiteral("新句子"));
        QCOMPARE(QApplication::focusWidget(), fixture.control<QWidget>("btnClose"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!fixture.window().isVisible());
        QCOMPARE(fixture.storedSentence(), QStringLiteral("新句子"));
    }

    void everyClosePathStoresTheSentence() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        auto* edt1 = fixture.control<QLineEdit>("edt1");

        edt1->setText(QStringLiteral("按钮"));
        fixture.control<QPushButton>("btnClose")->click();
        QCOMPARE(fixture.storedSentence(), QStringLiteral("按钮"));

        QVERIFY(fixture.showAndActivate());
        edt1->setText(QString());  // the close box: a close request from the window system
        QVERIFY(fixture.window().close());
        QCOMPARE(fixture.storedSentence(), QString());

        QVERIFY(fixture.showAndActivate());
        edt1->setText(QStringLiteral("Alt+F4"));
        QCloseEvent event;  // what the system menu, Alt+F4 and the taskbar send
        QApplication::sendEvent(&fixture.window(), &event);
        QVERIFY(event.isAccepted());
        QCOMPARE(fixture.storedSentence(), QStringLiteral("Alt+F4"));
    }

    void failedStoreAtCloseAsksWhetherToCloseAnyway() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        zelk::test::RunSql("drop table sv");
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);  // the error box
        driver.pressKey(Qt::Key_Escape);  // "否": keep the window
        driver.pressKey(Qt::Key_Return);  // the error box again
        driver.closeByCloseBox();         // cancel counts as no
        driver.pressKey(Qt::Key_Return);  // the error box again
        driver.pressKey(Qt::Key_Return);  // "是": close anyway
        QVERIFY(!fixture.window().close());
        QVERIFY(fixture.window().isVisible());
        QVERIFY(!fixture.window().close());
        QVERIFY(fixture.window().close());
        QVERIFY(!fixture.window().isVisible());
        QCOMPARE(driver.seen().size(), 6);
        QCOMPARE(driver.seen()[0].text, QStringLiteral("no such table: sv."));
        QCOMPARE(driver.seen()[1].caption, QStringLiteral("确认"));
    }

    void sentenceThatCouldNotBeReadIsNotStoredOverAtClose() {
        WindowFixture fixture;
        zelk::test::RunSql("update sv set val = '用户的句子'");
        auto lock = std::make_unique<zelk::test::ScopedDatabaseLock>();
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(fixture.control<QLineEdit>("edt1")->text(), kInitial);
        lock.reset();
        QVERIFY(fixture.window().close());
        QCOMPARE(fixture.storedSentence(), QStringLiteral("用户的句子"));
        QCOMPARE(driver.seen().size(), 1);

        // What the user typed after the failed read is theirs: it is stored.
        QVERIFY(fixture.showAndActivate());
        QTest::keyClicks(fixture.control<QLineEdit>("edt1"), QStringLiteral("abc"));
        QVERIFY(fixture.window().close());
        QCOMPARE(fixture.storedSentence(), kInitial + QStringLiteral("abc"));
    }

    void sessionManagerSaveRequestNeverShowsABox_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("missing file") << "missing";
        QTest::newRow("locked file") << "locked";
        QTest::newRow("dropped sv table") << "dropped";
    }

    void sessionManagerSaveRequestNeverShowsABox() {
        QFETCH(QString, fault);
        WindowFixture fixture;
        BoxDriver driver;
        QVERIFY(fixture.showAndActivate());
        fixture.control<QLineEdit>("edt1")->setText(QStringLiteral("注销前"));
        fixture.control<QLineEdit>("edt1")->setModified(true);
        std::unique_ptr<zelk::test::ScopedDatabaseLock> lock;
        if (fault == "missing") QVERIFY(QFile::remove("Zelk.dll"));
        if (fault == "locked") lock = std::make_unique<zelk::test::ScopedDatabaseLock>();
        if (fault == "dropped") zelk::test::RunSql("drop table sv");
        auto* watcher = fixture.window().findChild<SessionEndWatcher*>();
        QVERIFY(watcher);
        emit watcher->saveRequested();
        QTest::qWait(100);
        QVERIFY2(driver.seen().isEmpty(), qPrintable(driver.texts().join('|')));
        QVERIFY(fixture.window().isVisible());
        QVERIFY(!QFile::exists("Zelk.dll") || fault != "missing");
    }

    void errorBoxAtStartShowsOverThePlacedWindow() {
        WindowFixture fixture({}, true);
        QRect frameWhileBoxShows;
        QWidget* owner = nullptr;
        BoxDriver driver;
        driver.answer([&](QMessageBox* box) {
            frameWhileBoxShows = fixture.window().frameGeometry();
            owner = box->parentWidget();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(owner, &fixture.window());  // a dialog of the window, though not yet active
        const QRect screen = fixture.window().screen()->geometry();
        QCOMPARE(frameWhileBoxShows.x(),
                 std::max(0, (screen.width() - frameWhileBoxShows.width()) / 2));
        QCOMPARE(frameWhileBoxShows.y(),
                 std::max(0, (screen.height() - frameWhileBoxShows.height()) / 2));
    }

    void resizeKeepsBothBoxesOuterWidthMinus27() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        auto* edt1 = fixture.control<QLineEdit>("edt1");
        auto* edt2 = fixture.control<QLineEdit>("edt2");
        auto* mpanel = fixture.control<QWidget>("MPanel1");
        for (int width : {916, 600, 1200, 300}) {
            fixture.window().resize(width, 500);
            QTRY_COMPARE(fixture.window().width(), width);
            const int expected = fixture.window().frameGeometry().width() - 27;
            QCOMPARE(edt1->width(), expected);
            QCOMPARE(edt2->width(), expected);
            QCOMPARE(edt1->geometry().topLeft(), QPoint(8, 40));
            QCOMPARE(edt2->geometry().topLeft(), QPoint(8, 96));
            QCOMPARE(mpanel->width(), width);  // docked to the top: the full width
            QCOMPARE(mpanel->height(), 136);
        }
        fixture.window().showMaximized();
        QTRY_VERIFY(fixture.window().isMaximized());
        QTRY_COMPARE(edt1->width(), fixture.window().frameGeometry().width() - 27);
    }

    void layoutMatchesTheDesign() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(fixture.window().size(), QSize(916, 453));
        QCOMPARE(fixture.control<QWidget>("pnlMenu")->geometry(), QRect(0, 0, 916, 41));
        QCOMPARE(fixture.control<QWidget>("MPanel1")->geometry(), QRect(0, 41, 916, 136));
        QCOMPARE(fixture.control<QWidget>("StatusBar1")->geometry(), QRect(0, 434, 916, 19));
        QCOMPARE(fixture.control<QWidget>("WebBrowser1")->geometry(), QRect(0, 177, 916, 257));
        QCOMPARE(fixture.control<QWidget>("btnClose")->geometry(), QRect(1, 1, 75, 39));
        QCOMPARE(fixture.control<QWidget>("btnZelk")->geometry(), QRect(76, 1, 75, 39));
        QCOMPARE(fixture.control<QWidget>("btnCopy")->geometry(), QRect(151, 1, 75, 39));
        QCOMPARE(fixture.control<QWidget>("btnZelkAndCopy")->geometry(), QRect(226, 1, 111, 39));
        QCOMPARE(fixture.control<QWidget>("cbKu")->geometry().topLeft(), QPoint(337, 1));
        QCOMPARE(fixture.control<QWidget>("cbKu")->width(), 41);
        QCOMPARE(fixture.control<QWidget>("chr2")->y() + 1, fixture.control<QWidget>("chr1")->y());
        QVERIFY(fixture.control<QLineEdit>("edt2")->isReadOnly());
        QCOMPARE(fixture.control<QLineEdit>("edt2")->palette().color(QPalette::Base),
                 QColor(192, 220, 192));
        QVERIFY(fixture.control<QStatusBar>("StatusBar1")->isSizeGripEnabled());
        const QFont font = fixture.window().font();
        QCOMPARE(font.pixelSize(), 16);
        // Latin text from a serif face that tells "l" from "1", Chinese from 宋体.
        QCOMPARE(font.families().first(), QStringLiteral("Liberation Serif"));
        QCOMPARE(font.families().at(1), QStringLiteral("宋体"));
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Serif"));
        QVERIFY(!font.bold() && !font.italic() && !font.underline() && !font.strikeOut());
        QCOMPARE(fixture.control<QLineEdit>("edt1")->maxLength(), 2147483647);
    }

    void maintenancePanelStandsRightOfKuAndHiddenLeavesNoGap() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        auto* panel = fixture.control<QWidget>("pnlEdit");
        auto* cbKu = fixture.control<QCheckBox>("cbKu");
        QVERIFY(!panel->isVisible());
        QVERIFY(!cbKu->isChecked());
        QTest::mouseClick(cbKu, Qt::LeftButton);
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), QRect(378, 1, 411, 39));
        QCOMPARE(cbKu->x(), 337);
        QTest::mouseClick(cbKu, Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(cbKu->x(), 337);
    }

    void tabOrderWithThePanelHiddenAndShown() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(TabCycle(fixture.window()),
                 (QStringList{"btnClose", "btnZelk", "btnCopy", "btnZelkAndCopy", "cbKu", "edt1",
                              "edt2", "WebBrowser1"}));
        fixture.control<QCheckBox>("cbKu")->click();
        QCOMPARE(
            TabCycle(fixture.window()),
            (QStringList{"btnClose", "btnZelk", "btnCopy", "btnZelkAndCopy", "chr1", "chr2",
                         "btnOK", "btnSave", "btnDel", "cbKu", "edt1", "edt2", "WebBrowser1"}));
    }

    void placedInTheMiddleOfTheScreen() {
        WindowFixture fixture;
        QVERIFY(fixture.showAndActivate());
        const QRect screen = fixture.window().screen()->geometry();
        const QRect frame = fixture.window().frameGeometry();
        QCOMPARE(frame.x(), std::max(0, (screen.width() - frame.width()) / 2));
        QCOMPARE(frame.y(), std::max(0, (screen.height() - frame.height()) / 2));
    }

    void windowThatCannotBeCreatedEndsWithTheFatalBox() {
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        const int status = RunProgram([]() -> std::unique_ptr<QWidget> {
            throw zelk::db::EEngineError("Error creating object");
        });
        QCOMPARE(status, 1);
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("Application Error"));
        QCOMPARE(driver.seen()[0].icon, QMessageBox::Critical);
        QVERIFY2(driver.seen()[0].text.startsWith(
                     "Exception zelk::db::EEngineError in module MainWindowTest at "),
                 qPrintable(driver.seen()[0].text));
        QVERIFY(driver.seen()[0].text.endsWith(".\nError creating object."));
    }
};

ZELK_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
