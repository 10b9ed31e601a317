// The Caps Lock, Num Lock and Scroll Lock panes of the status bar. Qt does not
// tell the state of the lock keys, so it is read from the keyboard LEDs the
// kernel exposes; where there are none (a remote display, a container) the
// panes follow the lock keys pressed while the program runs.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;

namespace plix {

struct LockKeyState
{
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

class CLockIndicators : public QObject
{
    Q_OBJECT

public:
    // Adds the three panes to the right end of `statusBar`.
    explicit CLockIndicators(QStatusBar* statusBar);

    LockKeyState State() const { return state_; }
    void SetState(const LockKeyState& state);
    QLabel* CapsPane() const { return caps_; }
    QLabel* NumPane() const { return num_; }
    QLabel* ScrollPane() const { return scroll_; }

    // The LED state under /sys/class/leds; false when no keyboard LED is there.
    static bool ReadLeds(const QString& ledFolder, LockKeyState& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();

    QLabel* caps_;
    QLabel* num_;
    QLabel* scroll_;
    QTimer* timer_ = nullptr;
    LockKeyState state_;
};

}  // namespace plix
