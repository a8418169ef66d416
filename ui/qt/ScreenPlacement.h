#pragma once

class QWidget;

// Moves a top-level widget to the middle of its screen: left and top are half
// the room left over, rounded down, and 0 where the widget is larger.
void CentreOnScreen(QWidget& widget);
