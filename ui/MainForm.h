#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "database/AdoQuery.h"
#include "ui/FormView.h"

namespace zelk::ui {

inline constexpr std::u16string_view kWindowTitle = u"澄墨 - 拆字工具";
inline constexpr std::u16string_view kToolPage = u"http://www.chengmo.example/qvx/tools/zelk/";

// The window's behaviour, written once for every toolkit: what the show,
// close and resize sequences and each command do, with their messages, on
// the database connection and the three cursors the window owns. A
// toolkit's form derives from it, gives the FormView operations and enters
// the handlers from its events through Guarded.
class MainForm : protected FormView {
  public:
    explicit MainForm(std::u16string toolPage = std::u16string(kToolPage));
    ~MainForm() override;

    // Event handlers, as the layout binds them. Each may raise.
    void btnCloseClick();
    void btnCopyClick();
    void btnZelkAndCopyClick();
    void btnZelkClick();
    void cbKuClick();
    void btnOKClick();
    void btnSaveClick();
    void btnDelClick();
    void FormShow();
    void FormResize();
    void FormClose();

    // Runs a handler; an error it raises is shown in the error box and goes
    // no further. Returns false when the handler ended with an error.
    template <typename Handler>
    bool Guarded(Handler&& handler) noexcept {
        try {
            handler();
            return true;
        } catch (const std::exception& error) {
            ReportError(error.what());
        } catch (...) {
            ReportError("Unknown error");
        }
        return false;
    }

    // The window is asked to close (关闭, the close box, Alt+F4, the system
    // menu, the taskbar): whether it may close now. The sentence is stored
    // first; when that fails, the user decides whether to lose it. A close
    // that comes while a split runs waits until the split has ended.
    bool CloseRequested();
    // The session ends (log off, shut down, a termination signal): the
    // sentence is stored once, a failure reported to the log, never in a
    // box; with quitAfterwards the program then ends with the store's
    // status. During a split this waits until the split has ended.
    void SessionEnd(bool quitAfterwards);
    bool SessionEnding() const { return sessionEnding_; }
    // The outer width the resize rule last applied, or -1.
    int RuledOuterWidth() const { return ruledOuterWidth_; }

  protected:
    db::TADOConnection ADOConnection1;
    db::TADOQuery ADOQuery1{"ADOQuery1", ADOConnection1};
    db::TADOQuery ADOQuery2{"ADOQuery2", ADOConnection1};
    db::TADOQuery ADOQueryInit{"ADOQueryInit", ADOConnection1};

  private:
    // The boxes hold window text: what they show passes through the ANSI
    // code page here, once on the way in and once on the way out.
    std::string AnsiText(Box box) const;
    void SetAnsiText(Box box, std::string_view windowText);
    // The maintenance panel's refusal: the message, then the focus in the
    // box at fault.
    void Refuse(std::u16string_view message, Box box);
    // The maintenance panel's input check: an empty key is refused with its
    // message, and the focus goes to the key box.
    bool RefuseEmptyKey(const std::string& key);
    void ReportError(std::string_view message) noexcept;
    void RunDeferredRequests();

    std::u16string toolPage_;
    // Whether the show sequence read the saved sentence: until it has, the
    // sentence box holds the form's text, which is not the user's to store.
    bool sentenceLoaded_ = false;
    bool sessionEnding_ = false;
    // A split shows the busy indicator, which lets the window system's
    // events in: a session end or a close that comes then waits until the
    // split, and its read of the database, has ended.
    bool splitRunning_ = false;
    enum class Deferred { Nothing, Save, Terminate } deferredSessionEnd_ = Deferred::Nothing;
    bool deferredClose_ = false;
    int ruledOuterWidth_ = -1;
};

}  // namespace zelk::ui
