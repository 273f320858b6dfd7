#include "platform/linux/QtMainQueue.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cmath>

namespace driftmark {

void QtMainQueue::async(std::function<void()> task) {
    QMetaObject::invokeMethod(
        qApp, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

void QtMainQueue::asyncAfter(double seconds, std::function<void()> task) {
    // Coarse timers may fire up to 5 % early or late, enough to reorder the paste stages.
    const auto delay = std::chrono::milliseconds(std::llround((seconds > 0.0 ? seconds : 0.0) * 1000.0));
    QTimer::singleShot(delay, Qt::PreciseTimer, qApp, [task = std::move(task)] { task(); });
}

double QtMainQueue::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace driftmark
