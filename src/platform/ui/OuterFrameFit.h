#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <optional>

class QWidget;
class QWindow;

// One extent of a window: its outer width or height (frame included), or that of its client area.
struct WindowExtent {
    enum class Kind { Outer, Client };
    Kind kind = Kind::Client;
    int pixels = 0;

    static constexpr WindowExtent outer(int pixels) { return {Kind::Outer, pixels}; }
    static constexpr WindowExtent client(int pixels) { return {Kind::Client, pixels}; }
};

// The frame a window manager puts around a top-level window, as the one record of it that the
// window's placement and size go by. It places the window by the outer corner of that frame and
// may hold it at a size nobody can change, given as outer or client extents.
//
// The frame is known only while the window is shown and exposed: a window manager frames a window
// before it maps it and takes the frame away when the window is hidden, and Qt's own picture of
// the frame (QWidget::frameGeometry) is a copy taken at the window's last move or resize, which
// may date from a moment the window had no frame. So the record is the frame the window system
// reports for the exposed window, none until the window was first seen so; hidden, the window
// keeps the frame it was last seen with. The record is read again after every event that may
// come with a new frame (shown, exposed, moved, resized, activated, state changed) and whenever
// the window's frame geometry is asked for, and the window is fitted and placed again each time
// it changes.
//
// Under X11 a new size goes out with the position Qt last heard of. Right after a placement by
// frame that is still the requested frame corner, until the window manager's answer arrives; a
// refit in between would put the client area at that corner and the frame a title bar above it.
// So once the frame is known a window held at a position gets its size and its client position,
// taken from that frame, together; before, it is placed by its frame after the new size.
class OuterFrameFit final : public QObject {
public:
    explicit OuterFrameFit(QWidget* window);

    // The record of `window`, if it has one.
    static OuterFrameFit* of(const QWidget* window);
    // The record of `window`, made (holding no size) if it has none yet.
    static OuterFrameFit* forWindow(QWidget* window);

    void fit(WindowExtent width, WindowExtent height);
    void fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height);
    // Puts the outer corner of the frame at `frameTopLeft`; the window goes back there when it is
    // shown again and whenever its frame changes.
    void moveFrameTo(QPoint frameTopLeft);
    // Stops holding the window at a size and a position; its size limits stay as they are.
    void release();
    // Runs `handler` each time the window has been fitted to a new frame (an empty one: none).
    void whenFrameChanges(std::function<void()> handler) { m_onFrameChange = std::move(handler); }

    // The frame the window has, or had when last seen framed (none before).
    QMargins frame();
    // The outer geometry of the window: its client area with that frame around it.
    QRect frameGeometry();

    // The client size that gives the extents with `frame` around it (never below 1 x 1).
    static QSize clientSize(WindowExtent width, WindowExtent height, const QMargins& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Size {
        WindowExtent width;
        WindowExtent height;
    };
    // Takes the frame the window system reports, when it reports one; true when it changed.
    bool readFrame();
    // Reads the frame and fits the window again if it changed.
    void refit();
    void apply();
    void placeFrame(QPoint frameTopLeft);
    // The native window carries the exposure events.
    void watchNativeWindow();

    QWidget* m_window;
    QPointer<QWindow> m_native;
    std::optional<Size> m_size;
    std::optional<QPoint> m_corner;
    QMargins m_frame;
    bool m_applying = false;
    std::function<void()> m_onFrameChange;
};
