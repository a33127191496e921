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
class OuterFrameFit final : public QObject {
public:
    explicit OuterFrameFit(QWidget* window);

    void fit(WindowExtent width, WindowExtent height);
    void fit(QPoint frameTopLeft, WindowExtent width, WindowExtent height);
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
    void refitIfFrameChanged();
    // The frame of the window while it is shown; the one seen last while it is hidden.
    QMargins knownFrame();

    QWidget* m_window;
    std::optional<Target> m_target;
    QMargins m_lastSeen;
    QMargins m_fittedFor;
    bool m_applying = false;
};
