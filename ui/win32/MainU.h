#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "controls/win32/MLabel.h"
#include "controls/win32/MPanel.h"
#include "controls/win32/McxButton.h"
#include "controls/win32/McxCheckBox.h"
#include "controls/win32/McxTextEdit.h"
#include "ui/MainForm.h"
#include "ui/win32/WebPanel.h"

// How a window is built. The program always uses the defaults; tests point
// the web panel at a page of their own or leave it out.
struct MainWindowOptions {
    std::u16string toolPage = std::u16string(zelk::ui::kToolPage);
    bool webPanel = true;
};

// The program's one window in Win32: the layout of the form, drawn with the
// system's controls, and the behaviour of every toolkit's window
// (MainForm). The window's messages enter the handlers through Guarded, so
// that an error they raise is shown in the error box; the rest here is what
// only Win32 needs.
class TfrmMian : public zelk::ui::MainForm {
  public:
    // Builds the window, hidden. Raises std::runtime_error when it or one
    // of its controls cannot be created.
    explicit TfrmMian(MainWindowOptions options = {});
    ~TfrmMian() override;

    HWND Handle() const { return handle_; }
    // Shows the window for the first time as the program was started
    // (normal, maximised or minimised): the show sequence, the placement,
    // then visible and active. Started minimised, the show sequence waits
    // for the first restore.
    void Show(int showCommand);
    // The exit status the window leaves for the program.
    int ExitStatus() const { return exitStatus_; }

  private:
    using Box = zelk::ui::Box;

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls(const MainWindowOptions& options);
    void SetInitialMetadata();
    void LayOut();
    void RunShowSequence();
    void Command(int id);
    int Scaled(int pixels) const;

    // The form's side of the window's behaviour.
    std::u16string BoxText(Box box) const override;
    void SetBoxText(Box box, std::u16string_view text) override;
    bool BoxModified(Box box) const override;
    void FocusBox(Box box) override;
    void SelectAll(Box box) override;
    bool HasSelection(Box box) const override;
    void CopySelection(Box box) override;
    void SetBoxWidth(Box box, int width) override;
    int OuterWidth() const override;
    void SetTitles(std::u16string_view title) override;
    bool KuChecked() const override;
    void SetPanelVisible(bool visible) override;
    void NavigateWebPanel(std::u16string_view address) override;
    void Repaint() override;
    std::unique_ptr<zelk::ui::BusyIndicator> ShowBusy() override;
    void ShowInformation(std::u16string_view text) override;
    zelk::ui::ConfirmAnswer Confirm(std::u16string_view text) override;
    void ShowError(std::u16string_view message) override;
    void CloseWindow() override;
    void PostClose() override;
    void Quit(int status) override;
    void ReportToLog(std::string_view message) override;

    const TMcxTextEdit& BoxControl(Box box) const;

    HWND handle_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH resultBackground_ = nullptr;
    int dotsPerInch_ = 96;
    int exitStatus_ = 0;
    bool shown_ = false;
    bool showSequencePending_ = true;
    HWND focusBeforeDeactivation_ = nullptr;

    // The members of the form, in its order.
    HWND StatusBar1 = nullptr;
    TMPanel pnlMenu;
    TMcxButton btnClose;
    TMcxButton btnZelk;
    TMcxButton btnCopy;
    TMcxButton btnZelkAndCopy;
    TMcxTextEdit edt1;
    TMLabel MLabel1;
    TMLabel MLabel2;
    TMcxTextEdit edt2;
    TMPanel pnlEdit;
    TMcxTextEdit chr1;
    TMcxTextEdit chr2;
    TMcxButton btnOK;
    TMcxButton btnSave;
    TMcxCheckBox cbKu;
    TMcxButton btnDel;
    TMPanel MPanel1;
    std::unique_ptr<TWebBrowser> WebBrowser1;
};
