#pragma once

#include <QString>

// The application title: the caption of the information and error boxes (and,
// on platforms with one, of the taskbar entry). The show sequence sets it; until
// then it is the program's file name.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);
