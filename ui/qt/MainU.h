#pragma once

#include <QMargins>
#include <QUrl>
#include <QWidget>

#include "ui/MainForm.h"
#include "ui_MainU.h"

class SessionEndWatcher;

// How a window is built. The program always uses the defaults; tests and
// benchmarks point the web panel at a page of their own or leave it out.
struct MainWindowOptions {
    QUrl toolPage = QUrl(QString::fromUtf16(zelk::ui::kToolPage.data(),
                                            static_cast<qsizetype>(zelk::ui::kToolPage.size())));
    bool webPanel = true;
};

// The program's one window in Qt: its layout is the form MainU.ui, its
// behaviour that of every toolkit's window (MainForm). Qt's events enter the
// handlers through Guarded, so that an error they raise is shown in the
// error box; the rest here is what only Qt needs.
class TfrmMian : public QWidget, private Ui::TfrmMian, public zelk::ui::MainForm {
    Q_OBJECT

  public:
    explicit TfrmMian(QWidget* parent = nullptr, MainWindowOptions options = {});
    ~TfrmMian() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    using Box = zelk::ui::Box;

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

    QLineEdit* BoxWidget(Box box) const;
    void BindHandlers();

    bool hasWebPanel_;
    SessionEndWatcher* sessionEndWatcher_ = nullptr;
    bool shown_ = false;
    // A window manager draws the frame only once the window is mapped: the
    // first placement is made again, by the outer frame, when the frame is
    // first known.
    bool placementPending_ = false;
    QMargins placedMargins_;
    void FinishFirstPlacement();
};
