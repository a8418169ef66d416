#pragma once

#include <QWidget>
#include <functional>
#include <memory>

// The program's main block once the application object exists: create the
// main window, show it and run the message loop until it closes (exit status
// 0). A window that cannot be created is reported in the fatal error box and
// ends the program with exit status 1.
int RunProgram(const std::function<std::unique_ptr<QWidget>()>& createWindow);
