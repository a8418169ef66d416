#pragma once

#include <QCheckBox>

#include "controls/qt/MLabel.h"
#include "controls/qt/MPanel.h"

// The in-house check box: a plain check box with metadata properties that the
// layout sets and nothing in the program reads.
class TMcxCheckBox : public QCheckBox {
    Q_OBJECT
    Q_PROPERTY(int MOid MEMBER FMOid)
    Q_PROPERTY(QString MOnm MEMBER FMOnm)
    Q_PROPERTY(QString MFld MEMBER FMFld)
    Q_PROPERTY(QString MDefaultValue MEMBER FMDefaultValue)
    Q_PROPERTY(QString MDefaultValueKnd MEMBER FMDefaultValueKnd)
    Q_PROPERTY(int MReadonlyLevel MEMBER FMReadonlyLevel)
    Q_PROPERTY(TMPanel* MPanel MEMBER FMPanel)
    Q_PROPERTY(TMLabel* MLabel MEMBER FMLabel)
    Q_PROPERTY(bool MNotNull MEMBER FMNotNull)
    Q_PROPERTY(bool MSave MEMBER FMSave)

  public:
    explicit TMcxCheckBox(QWidget* parent = nullptr) : QCheckBox(parent) {}

  private:
    int FMOid = 0;
    QString FMOnm;
    QString FMFld;
    QString FMDefaultValue;
    QString FMDefaultValueKnd;
    int FMReadonlyLevel = 0;
    TMPanel* FMPanel = nullptr;  // not owned
    TMLabel* FMLabel = nullptr;  // not owned
    bool FMNotNull = false;
    bool FMSave = false;
};
