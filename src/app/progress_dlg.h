// CProgressDlg: the modeless "Searching ..." dialog of a run, with the file
// being read, a bar and "CANCEL". While it is up the main window is disabled,
// so "CANCEL" (or Esc) is the only thing that reacts. It is also the engine's
// progress seam: the engine asks it about every line, so the questions are
// cheap and the event loop is pumped only a few times a second.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

#include "engine/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace plix {

class CProgressDlg : public QDialog, public CProgress
{
    Q_OBJECT

public:
    // `topLevel` is the window to disable while the dialog is up (the main
    // frame); the dialog sits on it. An empty caption means "Searching ...".
    explicit CProgressDlg(QWidget* topLevel, const QString& caption = QString());
    ~CProgressDlg() override;

    // Disables the top-level window and shows the dialog.
    bool Create() override;
    void SetStatus(const std::string& text) override;
    void SetPos(int position) override;
    void StepIt();
    bool IsCancelled() override;

    // What "CANCEL" does: the run stops at its next question; the dialog stays
    // until the engine lets go of it.
    void Cancel();
    bool WasCancelled() const { return cancelled_; }
    QString StatusText() const { return statusText_; }
    int Position() const { return position_; }

    // How often the event loop is pumped while the engine works.
    static constexpr int kPumpIntervalMs = 100;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowStatus();
    void PumpIfDue();
    void Pump();

    QLabel* status_;
    QProgressBar* bar_;
    QPushButton* cancelButton_;
    QPointer<QWidget> parentWindow_;
    QString statusText_;
    QElapsedTimer sincePump_;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 1;
    int position_ = 0;
    bool cancelled_ = false;
    bool parentDisabled_ = false;
};

// The engine's progress factory on the desktop: one dialog per mode call.
class CProgressDlgFactory : public CProgressFactory
{
public:
    explicit CProgressDlgFactory(QWidget* topLevel = nullptr) : topLevel_(topLevel) {}
    void SetTopLevel(QWidget* topLevel) { topLevel_ = topLevel; }
    std::unique_ptr<CProgress> Make() override;
    // The dialog of the mode call under way, if any.
    CProgressDlg* Current() const { return current_; }

    // Stops the whole command, not only the mode call under way: its dialog
    // is cancelled, and so is every one made until ResetStop (a command of
    // several entries makes one per entry).
    void StopRun();
    void ResetStop() { stopped_ = false; }

private:
    QPointer<QWidget> topLevel_;
    QPointer<CProgressDlg> current_;
    bool stopped_ = false;
};

}  // namespace plix
