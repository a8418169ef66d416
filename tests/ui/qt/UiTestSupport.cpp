#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "database/DictionaryDatabase.h"

BoxDriver::BoxDriver() {
    connect(&timer_, &QTimer::timeout, this, &BoxDriver::poll);
    timer_.start(10);
}

void BoxDriver::pressKey(Qt::Key key, int times) {
    for (int i = 0; i < times; ++i) {
        answer([key](QMessageBox* box) {
            QWidget* target = box->focusWidget() ? box->focusWidget() : box;
            QTest::keyClick(target, key);
        });
    }
}

void BoxDriver::clickButton(const QString& caption) {
    answer([caption](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == caption) {
                button->click();
                return;
            }
        }
        box->close();
    });
}

void BoxDriver::closeByCloseBox() {
    answer([](QMessageBox* box) { box->close(); });
}

QStringList BoxDriver::texts() const {
    QStringList texts;
    for (const Box& box : seen_) texts << box.text;
    return texts;
}

void BoxDriver::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("zelkTestSeen").toBool()) return;
    box->setProperty("zelkTestSeen", true);
    Box seen;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
    seen_.append(seen);
    const Action action = actions_.isEmpty()
                              ? Action([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); })
                              : actions_.takeFirst();
    // Act once the box's own loop runs, not inside this timer's call.
    QTimer::singleShot(0, box, [box, action] { action(box); });
}

WindowFixture::WindowFixture(const std::vector<zelk::base::DictionaryEntry>& entries,
                             bool withoutDatabase, MainWindowOptions options) {
    if (!withoutDatabase) zelk::test::MakeDatabase(entries);
    window_ = std::make_unique<TfrmMian>(nullptr, std::move(options));
}

WindowFixture::~WindowFixture() {
    window_.reset();
}

bool WindowFixture::showAndActivate() {
    window_->show();
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
}

QString WindowFixture::storedSentence() const {
    const auto values = zelk::test::QueryColumn("select val from sv where oid = 1");
    return values.empty() ? QStringLiteral("<no row>") : QString::fromStdString(values.front());
}
