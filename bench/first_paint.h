#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace velo::bench {

// Says "mapped" on standard output once the first window is exposed and its first paint
// is done, so the driver can time it; the process ends a little later, so work put off
// until after the first paint still counts in its peak memory.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QCoreApplication& app) : QObject(&app) { app.installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && qobject_cast<QWindow*>(watched) != nullptr &&
            !seen_) {
            seen_ = true;
            // Queued behind the expose, so the paint it triggers comes first.
            QTimer::singleShot(0, this, [] {
                std::fputs("mapped\n", stdout);
                std::fflush(stdout);
            });
            QTimer::singleShot(kSettleMs, this, [] { std::_Exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static constexpr int kSettleMs = 300;
    bool seen_ = false;
};

} // namespace velo::bench
