#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UiTestSupport.h"

namespace {

// The window with the maintenance panel shown.
class PanelWindow : public WindowFixture {
  public:
    explicit PanelWindow(const std::vector<zelk::base::DictionaryEntry>& entries = {{"好", "女子"}})
        : WindowFixture(entries) {}
    bool open() {
        if (!showAndActivate()) return false;
        QTest::mouseClick(control<QCheckBox>("cbKu"), Qt::LeftButton);
        return control<QWidget>("pnlEdit")->isVisible();
    }
    QLineEdit* key() { return control<QLineEdit>("chr1"); }
    QLineEdit* replacement() { return control<QLineEdit>("chr2"); }
    void query() { control<QPushButton>("btnOK")->click(); }
    void save() { control<QPushButton>("btnSave")->click(); }
    void remove() { control<QPushButton>("btnDel")->click(); }
    static std::vector<std::string> Rows() {
        return zelk::test::QueryColumn(
            "select chr1 || '=' || ifnull(chr2, '<null>') from chr12 "
            "order by rowid");
    }
};

const QString kEmptyKey = QStringLiteral("原始字不能为空！");
const QString kEmptyReplacement = QStringLiteral("替换字不能为空！");
const QString kNoEntry = QStringLiteral("该替换字不存在！");
const QString kSaved = QStringLiteral("保存成功！");
const QString kDeleted = QStringLiteral("删除成功！");

}  // namespace

class MaintenancePanelTest : public QObject {
    Q_OBJECT

  private slots:
    void queryFindsOrReportsAndMovesTheFocus() {
        PanelWindow window;
        QVERIFY(window.open());
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 2);

        window.replacement()->setText(QStringLiteral("keep"));
        window.query();  // empty key
        QTRY_COMPARE(QApplication::focusWidget(), window.key());
        QCOMPARE(window.replacement()->text(), QStringLiteral("keep"));

        window.key()->setText(QStringLiteral("好"));
        window.query();
        QCOMPARE(window.replacement()->text(), QStringLiteral("女子"));

        window.key()->setText(QStringLiteral("坏"));
        window.control<QWidget>("btnOK")->setFocus();
        window.query();  // no entry: the other key's replacement stays
        QCOMPARE(window.replacement()->text(), QStringLiteral("女子"));
        QTRY_COMPARE(QApplication::focusWidget(), window.key());
        QCOMPARE(driver.texts(), (QStringList{kEmptyKey, kNoEntry}));
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("澄墨 - 拆字工具"));
    }

    void queryOfAnEmptyReplacementEmptiesTheBox() {
        PanelWindow window(std::vector<zelk::base::DictionaryEntry>{{"空", ""}});
        QVERIFY(window.open());
        BoxDriver driver;
        window.key()->setText(QStringLiteral("空"));
        window.replacement()->setText(QStringLiteral("old"));
        window.query();
        QCOMPARE(window.replacement()->text(), QString());
        QVERIFY(driver.seen().isEmpty());
    }

    void saveChecksKeyFirstThenReplacement() {
        PanelWindow window;
        QVERIFY(window.open());
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 3);
        window.save();  // both empty: only the key's message
        QTRY_COMPARE(QApplication::focusWidget(), window.key());
        window.key()->setText(QStringLiteral("新"));
        window.save();
        QTRY_COMPARE(QApplication::focusWidget(), window.replacement());
        window.replacement()->setText(QStringLiteral("亲斤"));
        window.control<QWidget>("btnSave")->setFocus();
        window.save();
        QTRY_COMPARE(QApplication::focusWidget(), window.control<QWidget>("btnSave"));
        QCOMPARE(driver.texts(), (QStringList{kEmptyKey, kEmptyReplacement, kSaved}));
        QCOMPARE(PanelWindow::Rows(), (std::vector<std::string>{"好=女子", "新=亲斤"}));
    }

    void saveChangesAnExistingEntryAndTakesBlanksAsText() {
        PanelWindow window;
        QVERIFY(window.open());
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 2);
        window.key()->setText(QStringLiteral("好"));
        window.replacement()->setText(QStringLiteral("子女"));
        window.save();
        window.key()->setText(QStringLiteral(" "));
        window.replacement()->setText(QStringLiteral("blank"));
        window.save();
        QCOMPARE(driver.texts(), (QStringList{kSaved, kSaved}));
        QCOMPARE(PanelWindow::Rows(), (std::vector<std::string>{"好=子女", " =blank"}));
    }

    void deleteAsksFirstAndOnlyYesDeletes() {
        PanelWindow window;
        QVERIFY(window.open());
        window.key()->setText(QStringLiteral("好"));
        BoxDriver driver;
        driver.clickButton(QStringLiteral("否"));
        driver.pressKey(Qt::Key_Escape);
        driver.closeByCloseBox();
        window.remove();
        window.remove();
        window.remove();
        QCOMPARE(PanelWindow::Rows(), (std::vector<std::string>{"好=女子"}));
        QCOMPARE(driver.seen().size(), 3);  // the question only, no message after it
        QCOMPARE(driver.seen()[0].text, QStringLiteral("确定删除【好】吗？"));
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("确认"));

        driver.pressKey(Qt::Key_Return);  // yes
        driver.pressKey(Qt::Key_Return);  // the success message
        window.remove();
        QCOMPARE(driver.seen().last().text, kDeleted);
        QCOMPARE(PanelWindow::Rows(), std::vector<std::string>{});
    }

    void keyWithTwoEntriesNeedsTwoDeletesAndAThirdFails() {
        PanelWindow window(std::vector<zelk::base::DictionaryEntry>{});
        zelk::test::RunSql("insert into chr12 values ('双', '一'), ('双', '二'), ('单', '三')");
        QVERIFY(window.open());
        window.key()->setText(QStringLiteral("双"));
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 6);
        window.remove();
        QCOMPARE(PanelWindow::Rows(), (std::vector<std::string>{"双=二", "单=三"}));
        window.remove();
        window.remove();
        QCOMPARE(driver.texts(),
                 (QStringList{QStringLiteral("确定删除【双】吗？"), kDeleted,
                              QStringLiteral("确定删除【双】吗？"), kDeleted,
                              QStringLiteral("确定删除【双】吗？"),
                              QStringLiteral("ADOQuery2: Cannot perform this operation on an empty "
                                             "dataset.")}));
        QCOMPARE(PanelWindow::Rows(), std::vector<std::string>{"单=三"});
    }

    void keyWithAQuoteActsOnExactlyItsEntries() {
        PanelWindow window({{"'", "quote"}, {"x", "ex"}});
        QVERIFY(window.open());
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 4);
        window.key()->setText(QStringLiteral("' or '1'='1"));
        window.query();
        window.key()->setText(QStringLiteral("'"));
        window.query();
        QCOMPARE(window.replacement()->text(), QStringLiteral("quote"));
        window.remove();
        QCOMPARE(driver.texts(),
                 (QStringList{kNoEntry, QStringLiteral("确定删除【'】吗？"), kDeleted}));
        QCOMPARE(PanelWindow::Rows(), std::vector<std::string>{"x=ex"});
    }

    void hidingThePanelKeepsItsTexts() {
        PanelWindow window;
        QVERIFY(window.open());
        window.key()->setText(QStringLiteral("甲"));
        window.replacement()->setText(QStringLiteral("乙"));
        auto* cbKu = window.control<QCheckBox>("cbKu");
        QTest::mouseClick(cbKu, Qt::LeftButton);
        QVERIFY(!window.control<QWidget>("pnlEdit")->isVisible());
        QTest::mouseClick(cbKu, Qt::LeftButton);
        QCOMPARE(window.key()->text(), QStringLiteral("甲"));
        QCOMPARE(window.replacement()->text(), QStringLiteral("乙"));
    }

    void databaseErrorEndsTheHandlerWithoutASuccessMessage() {
        PanelWindow window;
        QVERIFY(window.open());
        zelk::test::RunSql("drop table chr12");
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return, 2);
        window.key()->setText(QStringLiteral("好"));
        window.replacement()->setText(QStringLiteral("x"));
        window.save();
        window.query();
        QCOMPARE(driver.texts(), (QStringList{QStringLiteral("no such table: chr12."),
                                              QStringLiteral("no such table: chr12.")}));
        QCOMPARE(window.replacement()->text(), QStringLiteral("x"));
    }
};

ZELK_TEST_MAIN(MaintenancePanelTest)
#include "MaintenancePanelTest.moc"
