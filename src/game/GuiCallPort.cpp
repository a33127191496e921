#include "game/GuiCallPort.h"

void GuiCallPort::call(const std::function<void()>& f) {
    std::unique_lock<std::mutex> locker(m_lock);
    m_waiting = &f;
    m_done = false;
    // Posted under the lock: the owning thread takes the lock before it runs (and Qt frees)
    // the posted call, which orders the two for ThreadSanitizer.
    QMetaObject::invokeMethod(this, "runWaiting", Qt::QueuedConnection);
    m_doneChanged.wait(locker, [this] { return m_done; });
}

void GuiCallPort::runWaiting() {
    const std::function<void()>* f = nullptr;
    {
        std::lock_guard<std::mutex> locker(m_lock);
        std::swap(f, m_waiting);
    }
    if (!f) return;
    struct Done {
        GuiCallPort* port;
        ~Done() {
            std::lock_guard<std::mutex> locker(port->m_lock);
            port->m_done = true;
            port->m_doneChanged.notify_one();
        }
    } done{this};
    (*f)();
}
