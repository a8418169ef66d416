#include <unistd.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "ui/qt/ChineseLocale.h"
#include "ui/ControlData.h"
#include "HttpRecorder.h"
#include "ui/qt/ProgramMain.h"
#include "UiTestSupport.h"
#include "ui/qt/WebPanel.h"

namespace {

const QString kToolPath = QStringLiteral("/qvx/tools/zelk/");
constexpr int kLoadTimeoutMs = 20000;

// The stored state of the browser as the layout was designed: 916 x 257 pixels.
QByteArray DesignedBlock() {
    const std::vector<std::uint8_t> block = zelk::ui::control_data::MakeBlock({24236, 6800});
    return QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size()));
}

QList<QByteArray> Paths(const HttpRecorder& server) {
    QList<QByteArray> paths;
    for (const auto& request : server.requests()) paths << request.path;
    return paths;
}

}  // namespace

class WebPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { QVERIFY(UseSimplifiedChinese()); }

    void unreadableControlDataIsDropped_data() {
        QTest::addColumn<QByteArray>("block");
        const QByteArray good = DesignedBlock();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("short") << good.left(155);
        QTest::newRow("long") << good + '\0';
        QByteArray badLength = good;
        badLength[0] = 75;
        QTest::newRow("first block length") << badLength;
        QByteArray badLink = good;
        badLink[80] = 0;
        QTest::newRow("link class") << badLink;
        QByteArray badEnd = good;
        badEnd[155] = 1;
        QTest::newRow("terminal block") << badEnd;
        QByteArray zeroWidth = good;
        zeroWidth[4] = zeroWidth[5] = 0;
        QTest::newRow("zero width") << zeroWidth;
    }
    void unreadableControlDataIsDropped() {
        QFETCH(QByteArray, block);
        TWebBrowser browser;
        browser.setControlData(QString::fromLatin1(block.toBase64()));
        QCOMPARE(browser.controlData(), QString());
    }

    void formHandsTheBrowserItsStoredState() {
        WindowFixture fixture;
        auto* browser = fixture.control<TWebBrowser>("WebBrowser1");
        QVERIFY(browser);
        QCOMPARE(QByteArray::fromBase64(browser->controlData().toLatin1()), DesignedBlock());
    }

    void pageIsRequestedOnceWithAPlainGetAndShownInThePanel() {
        HttpRecorder server;
        // What the engine sends on its own for a page, as the reference.
        {
            QWebEngineView reference;
            reference.show();
            reference.load(QUrl(server.url("/reference/")));
            QTRY_COMPARE_WITH_TIMEOUT(reference.title(), HttpRecorder::kPageTitle, kLoadTimeoutMs);
        }
        QTRY_COMPARE(server.requests().size(), 1);
        const HttpRecorder::Request reference = server.requests().first();

        BoxDriver driver;
        WindowFixture fixture({}, false, {QUrl(server.url(kToolPath)), true});
        QVERIFY(fixture.showAndActivate());
        auto* browser = fixture.control<TWebBrowser>("WebBrowser1");
        QTRY_COMPARE_WITH_TIMEOUT(browser->title(), HttpRecorder::kPageTitle, kLoadTimeoutMs);
        QCOMPARE(browser->url(), QUrl(server.url(kToolPath)));
        QCOMPARE(server.requests().size(), 2);
        const HttpRecorder::Request request = server.requests().last();
        QCOMPARE(request.method, QByteArray("GET"));
        QCOMPARE(request.path, kToolPath.toLatin1());
        QCOMPARE(request.bodySize, 0);
        QCOMPARE(request.headerNames, reference.headerNames);
        QVERIFY(driver.seen().isEmpty());

        // Resizing moves and sizes the panel with the window, and loads nothing.
        fixture.window().resize(1100, 600);
        QTRY_COMPARE(browser->size(), QSize(1100, 600 - 41 - 136 - 19));
        QTest::qWait(500);
        QCOMPARE(server.requests().size(), 2);

        // A link that asks for a new window loads in the panel itself.
        QCOMPARE(browser->createWindow(QWebEnginePage::WebBrowserTab), browser);
        browser->page()->runJavaScript(QStringLiteral("window.open('second', '_blank')"));
        QTRY_COMPARE_WITH_TIMEOUT(browser->url(), QUrl(server.url(kToolPath + "second")),
                                  kLoadTimeoutMs);
        // The address changes when the navigation starts; the request may
        // reach the server a moment later.
        QTRY_COMPARE_WITH_TIMEOUT(Paths(server).last(), (kToolPath + "second").toLatin1(),
                                  kLoadTimeoutMs);
    }

    void unreachablePageOpensTheWindowWithoutAMessage() {
        BoxDriver driver;
        WindowFixture fixture;  // the tool page points at a port where nothing listens
        QVERIFY(fixture.showAndActivate());
        auto* browser = fixture.control<TWebBrowser>("WebBrowser1");
        QSignalSpy finished(browser, &QWebEngineView::loadFinished);
        QVERIFY(finished.wait(kLoadTimeoutMs));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(driver.seen().isEmpty());
        QVERIFY(fixture.window().isVisible());
        // The engine's own error page speaks the window's language.
        // Answers may come after the test: they write to storage that outlives it.
        const auto pageText = std::make_shared<QString>();
        QTRY_VERIFY_WITH_TIMEOUT(
            (browser->page()->toPlainText([pageText](const QString& text) { *pageText = text; }),
             pageText->contains(QStringLiteral("无法访问"))),
            kLoadTimeoutMs);
    }

    void browserAsRootWithItsSandboxOnEndsInTheFatalBox() {
        if (::geteuid() != 0) QSKIP("the sandbox runs for other users");
        const QByteArray saved = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        const int status = RunProgram([] {
            return std::make_unique<TfrmMian>(nullptr,
                                              MainWindowOptions{kUnreachableToolPage, true});
        });
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", saved);
        QCOMPARE(status, 1);
        QCOMPARE(driver.seen().size(), 1);
        QCOMPARE(driver.seen()[0].caption, QStringLiteral("Application Error"));
        QVERIFY2(driver.seen()[0].text.contains("cannot start as root with its sandbox on"),
                 qPrintable(driver.seen()[0].text));
    }

    void failedShowSequenceRequestsNothing() {
        HttpRecorder server;
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        WindowFixture fixture({}, true, {QUrl(server.url(kToolPath)), true});
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(driver.seen().size(), 1);
        QTest::qWait(1500);
        QCOMPARE(server.requests().size(), 0);
        QVERIFY(fixture.control<TWebBrowser>("WebBrowser1")->url().isEmpty());
    }

    void navigationThatCannotStartIsReportedBeforeTheWindowShows() {
        BoxDriver driver;
        driver.pressKey(Qt::Key_Return);
        WindowFixture fixture({}, false, {QUrl(QStringLiteral("http://[::1")), true});
        QVERIFY(fixture.showAndActivate());
        QCOMPARE(driver.seen().size(), 1);
        QVERIFY2(driver.seen()[0].text.startsWith(QStringLiteral("Invalid")),
                 qPrintable(driver.seen()[0].text));
        QVERIFY(fixture.window().isVisible());
        QCOMPARE(fixture.control<QLineEdit>("edt1")->text(),
                 QStringLiteral("拆功，阴阳，请让精神好，骆驼，难捉狗"));
    }
};

ZELK_TEST_MAIN(WebPanelTest)
#include "WebPanelTest.moc"
