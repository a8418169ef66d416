#include "ui/qt/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

#include "ui/MessageTexts.h"
#include "ui/qt/ApplicationTitle.h"
#include "ui/qt/ScreenPlacement.h"
#include "ui/qt/Utf16Text.h"

namespace {

QString Text(std::u16string_view text) {
    return FromUtf16(text);
}

// Runs the box modally; afterwards the window that was active is active
// again, whatever the window system does on its own.
void Run(ProgramMessageBox& box) {
    const QPointer<QWidget> previous = QApplication::activeWindow();
    box.exec();
    if (previous && previous->isVisible()) previous->activateWindow();
}

// The window a box belongs to: the active one, or else, while the main
// window is still being shown (the start's error box), that window.
QWidget* BoxOwner() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->windowType() == Qt::Window && !qobject_cast<QMessageBox*>(window)) {
            return window;
        }
    }
    return nullptr;
}

// The width a title needs in the title bar: its text in the title font,
// plus room for the window icon and the close button on either side.
int TitleBarWidth(const QString& title) {
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    return metrics.horizontalAdvance(title) + 4 * metrics.height() + 16;
}

}  // namespace

ProgramMessageBox::ProgramMessageBox(QWidget* parent) : QMessageBox(parent) {
    // A dialog of its window, with a close box only: the window manager
    // gives it no minimise or maximise buttons and keeps it above the window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setTextFormat(Qt::PlainText);
}

QStringList ProgramMessageBox::buttonCaptions() const {
    QStringList captions;
    const QList<QAbstractButton*> all = buttons();
    for (QAbstractButton* button : all) captions << button->text().remove(QLatin1Char('&'));
    return captions;
}

void ProgramMessageBox::showEvent(QShowEvent* event) {
    // A box is at least as wide as its title, or the title bar cuts it. The
    // box sizes itself from its layout whenever the layout changes: a strut
    // in the layout, not a fixed width, holds the width.
    if (auto* grid = qobject_cast<QGridLayout*>(layout()); grid && !titleStrut_) {
        titleStrut_ = new QSpacerItem(TitleBarWidth(windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed);
        grid->addItem(titleStrut_, grid->rowCount(), 0, 1, grid->columnCount());
    }
    QMessageBox::showEvent(event);
    CentreOnScreen(*this);  // on the screen, not on the window that asked
}

void ProgramMessageBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_C && event->modifiers() == Qt::ControlModifier) {
        QApplication::beep();
        std::vector<std::u16string> captions;
        for (const QString& caption : buttonCaptions()) captions.push_back(ToUtf16(caption));
        QGuiApplication::clipboard()->setText(Text(zelk::ui::MessageBoxClipboardText(
            ToUtf16(windowTitle()), ToUtf16(text()), captions)));
        event->accept();
        return;
    }
    QMessageBox::keyPressEvent(event);
}

void ProgramMessageBox::closeEvent(QCloseEvent* event) {
    // Buttons and Esc end the box without a close event: only the close box
    // (or the window manager's close) comes here.
    closedByCloseBox_ = true;
    QMessageBox::closeEvent(event);
}

void ShowInformation(const QString& text) {
    ProgramMessageBox box(BoxOwner());
    box.setWindowTitle(ApplicationTitle());
    box.setIcon(QMessageBox::NoIcon);
    box.setText(text);
    QPushButton* ok = box.addButton(Text(zelk::ui::kOkCaption), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    Run(box);
}

ConfirmAnswer Confirm(const QString& text) {
    ProgramMessageBox box(BoxOwner());
    box.setWindowTitle(Text(zelk::ui::kConfirmCaption));
    box.setIcon(QMessageBox::Question);
    box.setText(text);
    // Action roles keep the buttons in the order added on every platform.
    QPushButton* yes = box.addButton(Text(zelk::ui::kYesCaption), QMessageBox::ActionRole);
    QPushButton* no = box.addButton(Text(zelk::ui::kNoCaption), QMessageBox::ActionRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    Run(box);
    if (box.closedByCloseBox()) return ConfirmAnswer::Cancel;
    return box.clickedButton() == yes ? ConfirmAnswer::Yes : ConfirmAnswer::No;
}

void ShowError(const QString& message) {
    ProgramMessageBox box(BoxOwner());
    box.setWindowTitle(ApplicationTitle());
    box.setIcon(QMessageBox::Critical);
    box.setText(Text(zelk::ui::ErrorBoxText(ToUtf16(message))));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    Run(box);
}

void ShowFatalError(const QString& errorKind, const QString& message, quintptr address) {
    ProgramMessageBox box;
    box.setWindowTitle(Text(zelk::ui::kFatalErrorCaption));
    box.setIcon(QMessageBox::Critical);
    box.setText(Text(zelk::ui::FatalErrorText(
        ToUtf16(errorKind), ToUtf16(QFileInfo(QCoreApplication::applicationFilePath()).fileName()),
        address, ToUtf16(message))));
    box.setStandardButtons(QMessageBox::Ok);
    Run(box);
}
