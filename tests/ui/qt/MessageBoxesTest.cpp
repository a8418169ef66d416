#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QPushButton>
#include <QTest>

#include "ui/qt/ApplicationTitle.h"
#include "ui/qt/MessageBoxes.h"
#include "UiTestSupport.h"

class MessageBoxesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetApplicationTitle(QStringLiteral("澄墨 - 拆字工具")); }

    // A short message under the program's title: the box is a dialog of the
    // window that asked, with a close box only, as wide as its title.
    void boxIsADialogOfItsWindowAndAsWideAsItsTitle() {
        QWidget window;
        window.setWindowTitle(QStringLiteral("澄墨 - 拆字工具"));
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        BoxDriver driver;
        Qt::WindowFlags flags;
        QWidget* parent = nullptr;
        int width = 0;
        driver.answer([&](QMessageBox* box) {
            flags = box->windowFlags();
            parent = box->parentWidget();
            width = box->width();
            QTest::keyClick(box, Qt::Key_Return);
        });
        ShowError(QStringLiteral("x"));
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(parent, &window);
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
        QVERIFY2(
            width > title.horizontalAdvance(QStringLiteral("澄墨 - 拆字工具")) + 2 * title.height(),
            qPrintable(QString::number(width)));
    }

    void errorBoxShowsStopIconUnderTheApplicationTitle() {
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        ShowError(QStringLiteral("ADOQuery2: Cannot perform this operation on an empty dataset"));
        QCOMPARE(driver.seen().size(), 1);
        const BoxDriver::Box& box = driver.seen().first();
        QCOMPARE(box.caption, QStringLiteral("澄墨 - 拆字工具"));
        QCOMPARE(box.text,
                 QStringLiteral("ADOQuery2: Cannot perform this operation on an empty dataset."));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons.size(), 1);
    }

    void informationBoxIsDismissedByEveryKey_data() {
        QTest::addColumn<int>("way");  // a key, or 0 for the close box
        QTest::newRow("enter") << int(Qt::Key_Return);
        QTest::newRow("escape") << int(Qt::Key_Escape);
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("close box") << 0;
    }
    void informationBoxIsDismissedByEveryKey() {
        QFETCH(int, way);
        BoxDriver driver;
        if (way) {
            driver.pressKey(Qt::Key(way));
        } else {
            driver.closeByCloseBox();
        }
        ShowInformation(QStringLiteral("保存成功！"));
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("澄墨 - 拆字工具"));
        QCOMPARE(driver.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(driver.seen()[0].buttons, QStringList{QStringLiteral("确定")});
        QCOMPARE(driver.seen()[0].defaultButton, QStringLiteral("确定"));
    }

    void confirmationAnswers_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("answer");
        QTest::newRow("enter") << int(Qt::Key_Return) << int(ConfirmAnswer::Yes);
        QTest::newRow("escape") << int(Qt::Key_Escape) << int(ConfirmAnswer::No);
        QTest::newRow("close box") << 0 << int(ConfirmAnswer::Cancel);
    }
    void confirmationAnswers() {
        QFETCH(int, way);
        QFETCH(int, answer);
        BoxDriver driver;
        if (way) {
            driver.pressKey(Qt::Key(way));
        } else {
            driver.closeByCloseBox();
        }
        QCOMPARE(int(Confirm(QStringLiteral("确定删除【好】吗？"))), answer);
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("确认"));
        QCOMPARE(driver.seen()[0].icon, QMessageBox::Question);
        QCOMPARE(driver.seen()[0].buttons,
                 (QStringList{QStringLiteral("是"), QStringLiteral("否")}));
        QCOMPARE(driver.seen()[0].defaultButton, QStringLiteral("是"));
    }

    void confirmationButtonClicks() {
        BoxDriver driver;
        driver.clickButton(QStringLiteral("否"));
        driver.clickButton(QStringLiteral("是"));
        QCOMPARE(Confirm(QStringLiteral("q")), ConfirmAnswer::No);
        QCOMPARE(Confirm(QStringLiteral("q")), ConfirmAnswer::Yes);
    }

    void ctrlCPutsTheBoxOnTheClipboard() {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        BoxDriver driver;
        driver.answer([](QMessageBox* box) {
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Confirm(QStringLiteral("确定删除【好】吗？"));
        const QString dashes(27, QLatin1Char('-'));
        QCOMPARE(QGuiApplication::clipboard()->text(), dashes + "\r\n确认\r\n" + dashes +
                                                           "\r\n确定删除【好】吗？\r\n" + dashes +
                                                           "\r\n是   否   \r\n" + dashes + "\r\n");
    }
};

ZELK_TEST_MAIN(MessageBoxesTest)
#include "MessageBoxesTest.moc"
