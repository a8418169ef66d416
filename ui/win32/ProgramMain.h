#pragma once

#include <functional>
#include <memory>

class TfrmMian;

// The program's main block once COM and the controls are ready: create the
// main window, show it as the program was started and run the message loop
// until it closes (exit status 0, or the session end's). A window that
// cannot be created is reported in the fatal error box and ends the program
// with exit status 1.
int RunProgram(const std::function<std::unique_ptr<TfrmMian>()>& createWindow);
