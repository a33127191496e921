#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>

// Runs a call from a worker thread on the thread that owns this object and waits until it has
// run: a blocking queued call. The call itself is handed over under a standard mutex, so that
// ThreadSanitizer can follow the hand-over both ways; Qt only carries the wake-up.
// One worker uses one port.
class GuiCallPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Called on the worker; returns once f has run (or was dropped by runWaiting's caller).
    void call(const std::function<void()>& f);
    // Called on the owning thread: runs the call that waits, if any.
    Q_INVOKABLE void runWaiting();

private:
    std::mutex m_lock;
    std::condition_variable m_doneChanged;
    const std::function<void()>* m_waiting = nullptr;
    bool m_done = false;
};
