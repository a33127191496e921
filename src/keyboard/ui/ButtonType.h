#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cstdint>

// A key cap of the on-screen keyboard: a speed button that shows a picture.
//
// Speed-button rules the keyboard relies on: key caps with the same parent and the same
// non-zero GroupIndex form a group in which at most one is down, and putting one down releases
// the others; AllowAllUp lets all caps of a group be up; a cap whose GroupIndex is 0 never stays
// down. A mouse click on a grouped cap puts it down (or, with AllowAllUp, releases it when it
// already is), then reports the click.
//
// The picture is drawn the way speed buttons draw glyphs: pixels of the picture's bottom-left
// colour are transparent and show the cap's Color.
class ButtonType : public QWidget {
    Q_OBJECT
public:
    explicit ButtonType(QWidget* owner);
    ~ButtonType() override;

    // The key's picture as loaded, and its inverted copy (the pressed look).
    QImage UpGlyph;
    QImage DownGlyph;
    // Blink mode: pressing and releasing changes only Down, never the picture shown.
    bool Blink = false;
    // The key's identity (the key table's KeyValue).
    int32_t Tag = 0;

    const QImage& Glyph() const { return m_glyph; }
    void SetGlyph(const QImage& glyph);

    bool Down() const { return m_down; }
    void SetDown(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value) { m_allowAllUp = value; }
    // Shown as the tool tip.
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint) { setToolTip(hint); }
    // The face colour, 0x00BBGGRR.
    int32_t Color() const { return m_color; }
    void SetColor(int32_t color);

    bool IsDown() const { return m_down; }
    // Shows the pressed (inverted) or the normal picture, unless in blink mode; then sets Down.
    void SetKeyDown(bool Value);

signals:
    void clicked(ButtonType* key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void releaseGroupSiblings();

    QImage m_glyph;
    QPixmap m_shownGlyph; // m_glyph with its transparent colour cut out
    bool m_down = false;
    bool m_mouseHeld = false;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    int32_t m_color = 0;
};
