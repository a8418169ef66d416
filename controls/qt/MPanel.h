#pragma once

#include <QFrame>

// The in-house panel. It adds nothing to its base; it is also the type that
// the family's MPanel references name.
class TMPanel : public QFrame {
    Q_OBJECT

  public:
    explicit TMPanel(QWidget* parent = nullptr) : QFrame(parent) {}
};
