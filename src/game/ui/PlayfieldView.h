#pragma once

#include <QWidget>
#include <functional>

class GameCanvas;

// The playfield on screen: shows the game's canvas image. Before each paint it lets the window
// redraw the city and the words (the window's paint), then shows what the image holds. The
// image stands on the view's bottom edge: when the window manager makes the window smaller than
// it was when a game began, the top of the playfield goes out of sight, never the city.
class PlayfieldView : public QWidget {
    Q_OBJECT
public:
    PlayfieldView(GameCanvas* canvas, QWidget* parent = nullptr);
    std::function<void()> onPaint;
    // Asks for a repaint of whatever the play changed on the canvas since the last one.
    void refresh();

    // Where the image's top edge lies in the view (negative when the view is shorter).
    int imageTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GameCanvas* m_canvas;
};
