#include "app/lock_indicators.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace plix {

namespace {

constexpr const char* kLedFolder = "/sys/class/leds";

QLabel* MakePane(QStatusBar* statusBar, const QString& name, const QString& widest)
{
    auto* pane = new QLabel(statusBar);
    pane->setObjectName(name);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setAlignment(Qt::AlignCenter);
    // Same width whether lit or not, so the panes do not jump.
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widest) + 8);
    statusBar->addPermanentWidget(pane);
    return pane;
}

}  // namespace

CLockIndicators::CLockIndicators(QStatusBar* statusBar)
    : QObject(statusBar),
      caps_(MakePane(statusBar, QStringLiteral("capsPane"), QStringLiteral("CAP"))),
      num_(MakePane(statusBar, QStringLiteral("numPane"), QStringLiteral("NUM"))),
      scroll_(MakePane(statusBar, QStringLiteral("scrollPane"), QStringLiteral("SCRL")))
{
    LockKeyState leds;
    if (ReadLeds(QString::fromLatin1(kLedFolder), leds)) {
        SetState(leds);
        // The lock keys can change in any program: look again a few times a second.
        timer_ = new QTimer(this);
        timer_->setInterval(500);
        connect(timer_, &QTimer::timeout, this, &CLockIndicators::Poll);
        timer_->start();
    } else {
        SetState(LockKeyState{});
        qApp->installEventFilter(this);
    }
}

void CLockIndicators::SetState(const LockKeyState& state)
{
    state_ = state;
    caps_->setText(state.caps ? QStringLiteral("CAP") : QString());
    num_->setText(state.num ? QStringLiteral("NUM") : QString());
    scroll_->setText(state.scroll ? QStringLiteral("SCRL") : QString());
}

bool CLockIndicators::ReadLeds(const QString& ledFolder, LockKeyState& state)
{
    const QStringList names = QDir(ledFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    bool found = false;
    LockKeyState lit;
    for (const QString& name : names) {
        bool* flag = nullptr;
        if (name.endsWith(QLatin1String("::capslock"))) {
            flag = &lit.caps;
        } else if (name.endsWith(QLatin1String("::numlock"))) {
            flag = &lit.num;
        } else if (name.endsWith(QLatin1String("::scrolllock"))) {
            flag = &lit.scroll;
        } else {
            continue;
        }
        QFile brightness(ledFolder + u'/' + name + QStringLiteral("/brightness"));
        if (!brightness.open(QIODevice::ReadOnly)) {
            continue;
        }
        found = true;
        // Several keyboards: a lock is on when any of them shows it.
        *flag = *flag || brightness.readAll().trimmed().toInt() > 0;
    }
    if (found) {
        state = lit;
    }
    return found;
}

bool CLockIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // Each key press reaches the window once, but every widget it propagates
    // through: count it at the window.
    if (event->type() == QEvent::KeyPress && watched->isWindowType() &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        LockKeyState next = state_;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_CapsLock:
                next.caps = !next.caps;
                break;
            case Qt::Key_NumLock:
                next.num = !next.num;
                break;
            case Qt::Key_ScrollLock:
                next.scroll = !next.scroll;
                break;
            default:
                return false;
        }
        SetState(next);
    }
    return false;
}

void CLockIndicators::Poll()
{
    LockKeyState leds;
    if (ReadLeds(QString::fromLatin1(kLedFolder), leds)) {
        SetState(leds);
    }
}

}  // namespace plix
