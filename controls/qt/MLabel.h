#pragma once

#include <QLabel>
#include <QPointer>

#include "controls/qt/MPanel.h"

// The in-house label: a plain label with metadata properties that the layout
// sets and nothing in the program reads.
class TMLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(int MOid MEMBER FMOid)
    Q_PROPERTY(QString MOnm MEMBER FMOnm)
    Q_PROPERTY(QString MFld MEMBER FMFld)
    Q_PROPERTY(TMPanel* MPanel MEMBER FMPanel)

  public:
    explicit TMLabel(QWidget* parent = nullptr) : QLabel(parent) {}

  private:
    int FMOid = 0;
    QString FMOnm;
    QString FMFld;
    TMPanel* FMPanel = nullptr;  // not owned
};
