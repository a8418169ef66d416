#pragma once

#include <QMessageBox>
#include <QString>

#include "ui/FormView.h"

// The program's message boxes in Qt, with the texts of ui/MessageTexts. All
// are modal to the whole program, centred on the screen, and put themselves
// on the clipboard on Ctrl+C.

using zelk::ui::ConfirmAnswer;

// Caption: the application title; no icon; one button "确定".
void ShowInformation(const QString& text);
// Caption "确认"; question icon; "是" (default) and "否" (Esc). The close box
// answers Cancel, which callers treat as No.
ConfirmAnswer Confirm(const QString& text);
// Caption: the application title; stop icon; one OK button. The message gets
// a final "." when its last character comes after "." (ErrorBoxText).
void ShowError(const QString& message);

// The fatal error box of a window that could not be created: task-modal,
// caption "Application Error", stop icon. The address is the code address
// where the creation failed.
void ShowFatalError(const QString& errorKind, const QString& message, quintptr address);

// The box the functions above show.
class ProgramMessageBox : public QMessageBox {
    Q_OBJECT

  public:
    explicit ProgramMessageBox(QWidget* parent = nullptr);
    bool closedByCloseBox() const { return closedByCloseBox_; }
    // The button captions in the order they stand.
    QStringList buttonCaptions() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool closedByCloseBox_ = false;
    class QSpacerItem* titleStrut_ = nullptr;  // owned by the layout
};
