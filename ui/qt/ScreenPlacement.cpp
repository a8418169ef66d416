#include "ui/qt/ScreenPlacement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

void CentreOnScreen(QWidget& widget) {
    const QScreen* screen = widget.screen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize outer = widget.frameGeometry().size();
    widget.move(area.x() + std::max(0, (area.width() - outer.width()) / 2),
                area.y() + std::max(0, (area.height() - outer.height()) / 2));
}
