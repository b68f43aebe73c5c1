// The one-shot timers through which the windows ask each other to act: the asker writes
// the request's fields and starts the timer; its handler stops the timer first, then acts.
#pragma once

#include <QObject>
#include <QTimer>
#include <utility>

namespace pm {

// Makes `timer` a one-shot request timer of `receiver`: each start() runs `action` once,
// `intervalMs` later, with the timer stopped before the action (which may start it again).
// The connection goes with `receiver`.
template <class Action>
void startOnce(QTimer& timer, int intervalMs, QObject* receiver, Action action) {
  timer.setInterval(intervalMs);
  QObject::connect(&timer, &QTimer::timeout, receiver, [&timer, action = std::move(action)] {
    timer.stop();
    action();
  });
}

}  // namespace pm
