#pragma once

// Puts the program in simplified Chinese throughout: the default locale
// (which the web panel's engine takes for its own pages, such as its error
// page) and Qt's own texts (the text boxes' context menu, the web panel's
// menus), from the translations Qt ships. Call it once, after the
// application object exists and before the window is created. Returns
// whether Qt's translations were found.
bool UseSimplifiedChinese();
