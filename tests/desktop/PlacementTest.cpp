// The window under a real window manager (run by with_window_manager.sh on
// Xvfb with openbox): it is centred by its outer frame, decorations
// included, and the resize rule holds from the first show.
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "UiTestSupport.h"

class PlacementTest : public QObject {
    Q_OBJECT

  private slots:
    void centredByItsFrameWithTheWidthRuleFromTheFirstShow() {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "needs a real X display");
        WindowFixture fixture({}, false, {kUnreachableToolPage, false});
        TfrmMian& window = fixture.window();
        QVERIFY(fixture.showAndActivate());
        // The window manager draws a frame around the window.
        QTRY_VERIFY(!window.windowHandle()->frameMargins().isNull());
        // On a loaded machine the frame's geometry may come well after its
        // margins.
        QTRY_VERIFY_WITH_TIMEOUT(window.frameGeometry().width() > window.width(), 30000);
        const QRect screen = window.screen()->geometry();
        const QRect frame = window.frameGeometry();
        QVERIFY2(frame.size() != window.size(), "the frame is known");
        QTRY_COMPARE(window.frameGeometry().left(), (screen.width() - frame.width()) / 2);
        QTRY_COMPARE(window.frameGeometry().top(), (screen.height() - frame.height()) / 2);
        // The boxes are as wide as the outer frame minus 27, with no resize.
        auto* sentence = fixture.control<QWidget>("edt1");
        auto* result = fixture.control<QWidget>("edt2");
        QTRY_COMPARE(sentence->width(), frame.width() - 27);
        QCOMPARE(result->width(), frame.width() - 27);
    }
};

ZELK_TEST_MAIN(PlacementTest)
#include "PlacementTest.moc"
