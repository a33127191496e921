#include "KeyGlyphPainter.h"

#include "platform/CodePage.h"
#include "platform/DataPacket.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace {

const QColor kNoFingerFace(0xD8, 0xD8, 0xD8);
const QColor kInk(0x1E, 0x1E, 0x1E);
const QColor kAltGrInk(0x1A, 0x4E, 0x8C);

QFont capFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(6, pixelSize));
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

KeyGlyphPainter::KeyGlyphPainter(const LayoutDescription& layout) : m_layout(layout) {}

QColor KeyGlyphPainter::capColor(const KeyDescription& key) const {
    if (key.finger < 0 || key.finger >= NoFinger) return kNoFingerFace;
    // Half finger colour, half white: tinted, yet light enough for dark characters.
    const QColor finger = m_layout.fingers[fingerValueIndex(key.finger)].color;
    return QColor((finger.red() + 255) / 2, (finger.green() + 255) / 2, (finger.blue() + 255) / 2);
}

QString KeyGlyphPainter::levelText(const KeyLevel& level) const {
    unsigned char code = 0;
    if (level.kind == KeyLevel::Kind::Character)
        code = level.code;
    else if (level.kind == KeyLevel::Kind::DeadKey)
        if (const DeadKeyDescription* dead = m_layout.deadKey(level.deadKind)) code = dead->spacing;
    return code > 32 ? QString(CodePage::charToUnicode(code)) : QString();
}

QImage KeyGlyphPainter::paint(const KeyDescription& key) const {
    const QColor face = capColor(key);
    QImage image(key.width, key.height, QImage::Format_RGB32);
    image.fill(face);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // A darker rim and a lighter top edge make the face read as a cap.
    painter.setPen(face.darker(150));
    painter.drawRect(0, 0, key.width - 1, key.height - 1);
    painter.setPen(face.lighter(112));
    painter.drawLine(1, 1, key.width - 2, 1);

    const int margin = std::max(2, key.height / 10);
    const QRect inner(margin + 1, margin, key.width - 2 * margin - 2, key.height - 2 * margin);
    QString plain = levelText(key.levels[PlainLevel]);
    QString shift = levelText(key.levels[ShiftLevel]);
    const QString altGr = levelText(key.levels[AltGrLevel]);
    // A letter key shows its capital only, as printed keyboards do.
    if (key.kind == 1 && !shift.isEmpty() && plain.toUpper() == shift) plain.clear();

    if (plain.isEmpty() && shift.isEmpty() && altGr.isEmpty()) {
        if (!key.label.isEmpty()) {
            QFont font = capFont(key.height * 3 / 10);
            while (QFontMetrics(font).horizontalAdvance(key.label) > inner.width() && font.pixelSize() > 6)
                font.setPixelSize(font.pixelSize() - 1);
            painter.setFont(font);
            painter.setPen(kInk);
            painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, key.label);
        }
    } else {
        painter.setPen(kInk);
        painter.setFont(capFont(key.height * 2 / 5, true));
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop, shift);
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignBottom, plain);
        painter.setPen(kAltGrInk);
        painter.setFont(capFont(key.height * 7 / 20));
        painter.drawText(inner, Qt::AlignRight | Qt::AlignBottom, altGr);
    }
    painter.end();
    image.setPixelColor(0, key.height - 1, face);
    return image;
}

QByteArray KeyGlyphPainter::graphicBlob(const QImage& image) {
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return GraphicBlob::wrap(bmp);
}
