#pragma once

#include <QPlainTextEdit>

// The in-house multi-line text box. Part of the family, not used by the
// window; like the others it only adds metadata.
class TMcxMemo : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(int MOid MEMBER FMOid)
    Q_PROPERTY(QString MOnm MEMBER FMOnm)
    Q_PROPERTY(QString MFld MEMBER FMFld)

  public:
    explicit TMcxMemo(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

  private:
    int FMOid = 0;
    QString FMOnm;
    QString FMFld;
};
