#include "app/progress_dlg.h"

#include "settings/codec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace plix {

CProgressDlg::CProgressDlg(QWidget* topLevel, const QString& caption)
    : QDialog(topLevel ? topLevel->window() : nullptr),
      status_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      cancelButton_(new QPushButton(QStringLiteral("CANCEL"), this)),
      parentWindow_(topLevel ? topLevel->window() : nullptr)
{
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Searching ...") : caption);
    setModal(false);
    status_->setObjectName(QStringLiteral("progressStatus"));
    status_->setMinimumWidth(240);
    status_->setTextFormat(Qt::PlainText);
    bar_->setRange(lower_, upper_);
    bar_->setValue(position_);
    bar_->setTextVisible(false);
    cancelButton_->setObjectName(QStringLiteral("progressCancel"));
    cancelButton_->setAutoDefault(true);
    cancelButton_->setDefault(true);
    connect(cancelButton_, &QPushButton::clicked, this, &CProgressDlg::Cancel);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cancelButton_);
    buttonRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    layout->addLayout(buttonRow);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));
}

CProgressDlg::~CProgressDlg()
{
    hide();
    if (parentDisabled_ && parentWindow_) {
        parentWindow_->setEnabled(true);
    }
}

bool CProgressDlg::Create()
{
    if (!parentWindow_) {
        parentWindow_ = QApplication::activeWindow();
    }
    if (parentWindow_ && parentWindow_ != this && parentWindow_->isEnabled()) {
        parentWindow_->setEnabled(false);
        parentDisabled_ = true;
    }
    // Disabling the main window disables its child windows too; this one must
    // stay usable, it is the only way to stop the run.
    setEnabled(true);
    show();
    raise();
    activateWindow();
    // The first pump comes with the file name (SetStatus) or the first line.
    return true;
}

void CProgressDlg::SetStatus(const std::string& text)
{
    std::u16string wide = DecodeLocaleText(text);
    statusText_ = QString(reinterpret_cast<const QChar*>(wide.data()), static_cast<qsizetype>(wide.size()));
    ShowStatus();
    Pump();
}

void CProgressDlg::ShowStatus()
{
    // A long path keeps its beginning and its file name.
    status_->setToolTip(statusText_);
    status_->setText(status_->fontMetrics().elidedText(statusText_, Qt::ElideMiddle,
                                                       std::max(status_->width(), status_->minimumWidth())));
}

void CProgressDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The label has its real width only now.
    ShowStatus();
}

void CProgressDlg::SetPos(int position)
{
    position_ = position;
    PumpIfDue();
}

void CProgressDlg::StepIt()
{
    position_ += step_;
    if (position_ > upper_) {
        position_ = lower_;
    }
    PumpIfDue();
}

bool CProgressDlg::IsCancelled()
{
    PumpIfDue();
    return cancelled_;
}

void CProgressDlg::Cancel()
{
    cancelled_ = true;
    cancelButton_->setEnabled(false);
}

void CProgressDlg::reject()
{
    // Esc stops the run like "CANCEL"; the dialog closes when the engine is done.
    Cancel();
}

void CProgressDlg::closeEvent(QCloseEvent* event)
{
    Cancel();
    event->ignore();
}

void CProgressDlg::PumpIfDue()
{
    if (sincePump_.isValid() && sincePump_.elapsed() < kPumpIntervalMs) {
        return;
    }
    Pump();
}

void CProgressDlg::Pump()
{
    bar_->setValue(std::clamp(position_, lower_, upper_));
    sincePump_.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::unique_ptr<CProgress> CProgressDlgFactory::Make()
{
    // The engine owns the dialog for its mode call; the main frame is only its
    // parent on screen, and it outlives every run (closing it during a run is
    // refused), so the dialog is never deleted from both sides.
    auto dialog = std::make_unique<CProgressDlg>(topLevel_);
    current_ = dialog.get();
    if (stopped_) {
        dialog->Cancel();
    }
    return dialog;
}

void CProgressDlgFactory::StopRun()
{
    stopped_ = true;
    if (current_) {
        current_->Cancel();
    }
}

}  // namespace plix
