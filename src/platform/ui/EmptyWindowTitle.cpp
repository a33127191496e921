#include "platform/ui/EmptyWindowTitle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

// Writes both of the window's title properties as empty texts.
void writeEmptyTitle(QWidget* window) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->testAttribute(Qt::WA_WState_Created)) return;
    const auto id = xcb_window_t(window->winId());
    static const xcb_atom_t netWmName = atom(connection, "_NET_WM_NAME");
    static const xcb_atom_t utf8String = atom(connection, "UTF8_STRING");
    if (netWmName != XCB_ATOM_NONE && utf8String != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netWmName, utf8String, 8, 0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection);
}

class EmptyTitleKeeper final : public QObject {
public:
    explicit EmptyTitleKeeper(QWidget* window) : QObject(window), m_window(window) {
        window->installEventFilter(this);
        keep();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::WinIdChange:
            case QEvent::WindowTitleChange:
            case QEvent::Show:
                keep();
                break;
            default:
                break;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void keep() {
        if (m_window->isWindow() && m_window->windowTitle().isEmpty()) writeEmptyTitle(m_window);
    }

    QWidget* m_window;
};

} // namespace

void keepWindowTitleEmpty(QWidget* window) {
    if (window) new EmptyTitleKeeper(window);
}
