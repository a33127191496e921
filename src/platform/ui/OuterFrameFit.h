#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <optional>

class QWidget;

// The frame around a top-level window as the window system reports it now (none until a window
// manager has framed the shown window).
QMargins frameMarginsOf(const QWidget* window);

// Puts the outer corner of the frame of top-level `window` at `frameTopLeft`. `lastFrame` is the
// frame the window has or had when last seen shown (none if never).
void placeFrameCorner(QWidget* window, QPoint frameTopLeft, const QMargins& lastFrame);

// One extent of a window: its outer width or height (frame included), or that of its client area.
struct WindowExtent {
    enum class Kind { Outer, Client };
    Kind kind = Kind::Client;
    int pixels = 0;

    static constexpr WindowExtent outer(int pixels) { return {Kind::Outer, pixels}; }
    static constexpr WindowExtent client(int pixels) { return {Kind::Client, pixels}; }
};

// Holds a top-level window at a size nobody can change, given as outer or client extents, and
// optionally with the outer corner of its frame at a point. The frame a window manager puts
// around a window is known only once it has framed the shown window: until then the window is
// fitted for the frame it had when last seen (none at first), and it is fitted again whenever the
// frame it shows differs from the one it was fitted for.
//
// Under X11 a new size goes out with the position Qt last heard of. Right after a placement by
// frame that is still the requested frame corner, until the window manager's answer arrives; a
// refit in between (the frame is read from the server, so it may be known before that answer)
// would put the client area at that corner and the frame a title bar above it. So once the frame
// is known a window held at a position gets its size and its client position, taken from that
// frame, together; before, it is placed by its frame after the new size.
class OuterFrameFit final : public QObject {
public:
    explicit OuterFrameFit(QWidget* window);

    // The fit that holds `window`, if any.
    static OuterFrameFit* of(const QWidget* window);

    void fit(WindowExtent width, WindowExtent height);
    void fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height);
    // Puts the outer corner of the frame at `frameTopLeft`; a held window stays there through
    // later refits.
    void moveFrameTo(QPoint frameTopLeft);
    // Stops holding the window; its size limits stay as they are.
    void release();

    // The client size that gives the extents with `frame` around it (never below 1 x 1).
    static QSize clientSize(WindowExtent width, WindowExtent height, const QMargins& frame);
    // The frame the window was last fitted for.
    QMargins fittedFrame() const { return m_fittedFor; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Target {
        std::optional<QPoint> frameTopLeft;
        WindowExtent width;
        WindowExtent height;
    };
    void apply();
    void placeFrame(QPoint frameTopLeft);
    void refitIfFrameChanged();
    // The frame of the window while it is shown; the one seen last while it is hidden.
    QMargins knownFrame();

    QWidget* m_window;
    std::optional<Target> m_target;
    QMargins m_lastSeen;
    QMargins m_fittedFor;
    bool m_applying = false;
};
