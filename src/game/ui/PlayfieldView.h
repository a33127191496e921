#pragma once

#include <QWidget>

class GameCanvas;

// The playfield on screen: shows what the game's canvas image holds, and nothing else. The
// pieces draw on the image (a bullet in XOR over whatever lies under it); a paint copies it, so
// showing the image never changes it. The image stands on the view's bottom edge: when the
// window manager makes the window smaller than it was when a game began, the top of the
// playfield goes out of sight, never the city.
class PlayfieldView : public QWidget {
    Q_OBJECT
public:
    PlayfieldView(GameCanvas* canvas, QWidget* parent = nullptr);
    // Asks for a repaint of whatever the play changed on the canvas since the last one.
    void refresh();

    // Where the image's top edge lies in the view (negative when the view is shorter).
    int imageTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GameCanvas* m_canvas;
};
