#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace zelk::ui {

// The window's text boxes that its behaviour reads and writes.
enum class Box {
    Sentence,     // edt1
    Result,       // edt2
    Key,          // chr1
    Replacement,  // chr2
};

enum class ConfirmAnswer { Yes, No, Cancel };

// Shown while a long command runs on the UI thread. Tick comes for every
// step of the command and must be cheap; the indicator goes with the object.
class BusyIndicator {
  public:
    virtual ~BusyIndicator() = default;
    virtual void Tick() = 0;
};

// What the window's behaviour needs of a toolkit's form (Qt on Linux, Win32
// on Windows): its boxes, panel and boxes of messages, the web panel, and
// the ways the program ends. Texts cross as UTF-16, as both toolkits hold
// them.
class FormView {
  public:
    virtual ~FormView() = default;

    // The box's whole text.
    virtual std::u16string BoxText(Box box) const = 0;
    // Replaces the box's whole text; the same text leaves the box untouched.
    virtual void SetBoxText(Box box, std::u16string_view text) = 0;
    // Whether the user has changed the box's text since the program set it.
    virtual bool BoxModified(Box box) const = 0;
    virtual void FocusBox(Box box) = 0;
    virtual void SelectAll(Box box) = 0;
    virtual bool HasSelection(Box box) const = 0;
    // Puts the box's selected text on the clipboard, replacing what it held.
    virtual void CopySelection(Box box) = 0;
    virtual void SetBoxWidth(Box box, int width) = 0;

    // The window's width with its frame.
    virtual int OuterWidth() const = 0;
    // The window's title and the application title (boxes, taskbar).
    virtual void SetTitles(std::u16string_view title) = 0;
    virtual bool KuChecked() const = 0;
    virtual void SetPanelVisible(bool visible) = 0;
    // Tells the web panel, if there is one, which page to load.
    virtual void NavigateWebPanel(std::u16string_view address) = 0;
    // Draws what changed now, before the event loop runs again.
    virtual void Repaint() = 0;
    virtual std::unique_ptr<BusyIndicator> ShowBusy() = 0;

    // The information box, the confirmation box and the error box; the
    // error box ends its text as ErrorBoxText does.
    virtual void ShowInformation(std::u16string_view text) = 0;
    virtual ConfirmAnswer Confirm(std::u16string_view text) = 0;
    virtual void ShowError(std::u16string_view message) = 0;

    // Asks the window to close, as its close box does: now, or once the
    // event loop runs again.
    virtual void CloseWindow() = 0;
    virtual void PostClose() = 0;
    // Ends the program with this exit status, without asking the window.
    virtual void Quit(int status) = 0;
    // A report where no box may wait for an answer (the session is ending).
    virtual void ReportToLog(std::string_view message) = 0;
};

}  // namespace zelk::ui
