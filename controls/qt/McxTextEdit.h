#pragma once

#include <QLineEdit>

#include "controls/qt/MLabel.h"
#include "controls/qt/MPanel.h"
#include "controls/qt/McxCheckBox.h"

// The in-house single-line text box: a plain line edit with metadata
// properties that the layout sets and nothing in the program reads. The two
// check-box references lie before the three flags among the fields.
class TMcxTextEdit : public QLineEdit {
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
    Q_PROPERTY(bool MEqual MEMBER FMEqual)
    Q_PROPERTY(bool MSave MEMBER FMSave)
    Q_PROPERTY(TMcxCheckBox* MLikeLeft MEMBER FMLikeLeft)
    Q_PROPERTY(TMcxCheckBox* MLikeRight MEMBER FMLikeRight)

  public:
    explicit TMcxTextEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

  private:
    int FMOid = 0;
    QString FMOnm;
    QString FMFld;
    QString FMDefaultValue;
    QString FMDefaultValueKnd;
    int FMReadonlyLevel = 0;
    TMPanel* FMPanel = nullptr;           // not owned
    TMLabel* FMLabel = nullptr;           // not owned
    TMcxCheckBox* FMLikeLeft = nullptr;   // not owned
    TMcxCheckBox* FMLikeRight = nullptr;  // not owned
    bool FMNotNull = false;
    bool FMEqual = false;
    bool FMSave = false;
};
