#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "UiTestSupport.h"

namespace {

const std::vector<zelk::base::DictionaryEntry> kEntries = {
    {"好", "女子"}, {"林", "木木"}, {"空", ""}, {"'", "[quote]"}, {"吉", "𠮷"}, {"a", "[a]"}};

// The window on a small dictionary, shown, with its three commands at hand.
class SplitWindow : public WindowFixture {
  public:
    SplitWindow() : WindowFixture(kEntries) {}
    QLineEdit* sentence() { return control<QLineEdit>("edt1"); }
    QLineEdit* result() { return control<QLineEdit>("edt2"); }
    void split() { control<QPushButton>("btnZelk")->click(); }
    void copy() { control<QPushButton>("btnCopy")->click(); }
    void splitAndCopy() { control<QPushButton>("btnZelkAndCopy")->click(); }
};

// The dictionary becomes a view whose row for 坏 fails when it is read.
void MakeTheEntryOfHuaiFailWhenRead() {
    zelk::test::RunSql(
        "alter table chr12 rename to entries;"
        "create view chr12 as select chr1, case when chr1 = '坏' "
        "then abs(-9223372036854775807 - 1) else chr2 end as chr2 from entries;"
        "insert into entries values ('坏', '土不');");
}

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}
void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace

class SplitCopyTest : public QObject {
    Q_OBJECT

  private slots:
    void splitReplacesEveryCharacterWithItsPiece() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        BoxDriver driver;
        window.sentence()->setText(QStringLiteral("好林空'A 坏"));
        window.split();
        QCOMPARE(window.result()->text(), QStringLiteral("女子木木[quote][a] 坏"));
        QVERIFY(driver.seen().isEmpty());
        // No focus moves, and the sentence is left as it was.
        QCOMPARE(QApplication::focusWidget(), window.control<QWidget>("btnClose"));
        QCOMPARE(window.sentence()->text(), QStringLiteral("好林空'A 坏"));

        window.split();  // starts from an empty box, does not append
        QCOMPARE(window.result()->text(), QStringLiteral("女子木木[quote][a] 坏"));
    }

    void surrogatePairsSplitWhole() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        window.sentence()->setText(QStringLiteral("吉好"));
        window.split();
        QCOMPARE(window.result()->text(), QStringLiteral("𠮷女子"));
    }

    void emptySentenceEmptiesTheResultAndLeavesTheClipboard() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        window.sentence()->setText(QStringLiteral("好"));
        window.split();
        SetClipboard(QStringLiteral("earlier"));
        window.sentence()->clear();
        window.splitAndCopy();
        QCOMPARE(window.result()->text(), QString());
        QCOMPARE(Clipboard(), QStringLiteral("earlier"));
        QCOMPARE(QApplication::focusWidget(), window.result());
    }

    void emptySentenceRunsNoLookupEvenWithoutADatabase() {
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);  // the start-up error
        WindowFixture window({}, true);
        QVERIFY(window.showAndActivate());
        window.control<QLineEdit>("edt1")->clear();
        window.control<QPushButton>("btnZelk")->click();
        QCOMPARE(driver.seen().size(), 1);
    }

    void copyTakesWhatTheResultBoxShows() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        SetClipboard(QStringLiteral("earlier"));
        window.copy();  // before any split: nothing to copy, but the focus moves
        QCOMPARE(Clipboard(), QStringLiteral("earlier"));
        QCOMPARE(QApplication::focusWidget(), window.result());

        window.sentence()->setText(QStringLiteral("好林"));
        window.splitAndCopy();
        QCOMPARE(Clipboard(), QStringLiteral("女子木木"));
        QCOMPARE(window.result()->selectedText(), QStringLiteral("女子木木"));
        QCOMPARE(QApplication::focusWidget(), window.result());

        window.sentence()->setText(QStringLiteral("林林"));  // edited, not split again
        SetClipboard(QString());
        window.copy();
        QCOMPARE(Clipboard(), QStringLiteral("女子木木"));
    }

    void failurePartWayKeepsEarlierPiecesAndSkipsTheCopy() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        MakeTheEntryOfHuaiFailWhenRead();  // the third of four lookups
        window.sentence()->setText(QStringLiteral("好林坏好"));
        SetClipboard(QStringLiteral("earlier"));
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        window.splitAndCopy();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("integer overflow.")});
        QCOMPARE(window.result()->text(), QStringLiteral("女子木木"));
        QCOMPARE(Clipboard(), QStringLiteral("earlier"));
        QVERIFY(QApplication::focusWidget() != window.result());

        window.copy();  // the partial result can still be copied
        QCOMPARE(Clipboard(), QStringLiteral("女子木木"));

        window.sentence()->setText(QStringLiteral("坏"));  // a later split starts afresh
        driver.pressKey(Qt::Key_Return);
        window.split();
        QCOMPARE(window.result()->text(), QString());
    }

    // A split that takes long shows the busy cursor, and takes it away when
    // it ends, also when it fails at its last character.
    void longSplitShowsTheBusyCursorUntilItEndsAlsoOnFailure() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        MakeTheEntryOfHuaiFailWhenRead();
        window.sentence()->setText(QString(400000, QChar(u'林')) + QStringLiteral("坏"));
        // Runs at the first moment the split lets events through: when it
        // shows the busy cursor.
        bool busyDuringSplit = false;
        QTimer::singleShot(0, [&] { busyDuringSplit = QGuiApplication::overrideCursor(); });
        bool busyAtTheErrorBox = true;
        BoxDriver driver;
        driver.answer([&](QMessageBox* box) {
            busyAtTheErrorBox = QGuiApplication::overrideCursor();
            QTest::keyClick(box, Qt::Key_Return);
        });
        window.split();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("integer overflow.")});
        QVERIFY(busyDuringSplit);
        QVERIFY(!busyAtTheErrorBox);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(window.result()->text().size(), 800000);
    }

    void missingColumnIsReportedWithTheCursorName() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        zelk::test::RunSql(
            "drop table chr12; create table chr12 (chr1 text, x text);"
            "insert into chr12 values ('坏', '?')");
        window.sentence()->setText(QStringLiteral("好坏"));
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        window.split();
        QCOMPARE(driver.texts(), QStringList{QStringLiteral("ADOQuery1: Field 'chr2' not found.")});
        QCOMPARE(window.result()->text(), QStringLiteral("好"));
    }

    void longSentenceIsNeverCutOff() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        QString sentence;
        for (int i = 0; i < 50000; ++i) sentence += QStringLiteral("好林");
        window.sentence()->setText(sentence);
        QCOMPARE(window.sentence()->text().size(), 100000);
        window.splitAndCopy();
        QCOMPARE(window.result()->text().size(), 200000);
        QCOMPARE(Clipboard().size(), 200000);
        QVERIFY(Clipboard().endsWith(QStringLiteral("女子木木")));
    }

    void savedEntryShowsInTheNextSplit() {
        SplitWindow window;
        QVERIFY(window.showAndActivate());
        window.sentence()->setText(QStringLiteral("坏"));
        window.split();
        QCOMPARE(window.result()->text(), QStringLiteral("坏"));
        zelk::test::RunSql("insert into chr12 values ('坏', '土不')");
        window.split();
        QCOMPARE(window.result()->text(), QStringLiteral("土不"));
    }
};

ZELK_TEST_MAIN(SplitCopyTest)
#include "SplitCopyTest.moc"
