#pragma once

#include <QPushButton>

// The in-house button: a plain push button with metadata properties that the
// layout sets and nothing in the program reads.
class TMcxButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString MFld MEMBER FMFld)
    Q_PROPERTY(QString MValStr MEMBER FMValStr)
    Q_PROPERTY(int MValInt MEMBER FMValInt)

  public:
    explicit TMcxButton(QWidget* parent = nullptr) : QPushButton(parent) {}

  private:
    QString FMFld;
    QString FMValStr;
    int FMValInt = 0;
};
