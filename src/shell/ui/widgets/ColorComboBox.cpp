#include "shell/ui/widgets/ColorComboBox.h"

#include "platform/Translation.h"
#include "settings/FontValue.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

struct NamedColor {
    const char* name;
    int32_t value;
};

constexpr NamedColor namedColors[] = {
    {I18N_NOOP("Black"), 0x000000}, {I18N_NOOP("Maroon"), 0x000080},      {I18N_NOOP("Green"), 0x008000},
    {I18N_NOOP("Olive"), 0x008080}, {I18N_NOOP("Navy"), 0x800000},        {I18N_NOOP("Purple"), 0x800080},
    {I18N_NOOP("Teal"), 0x808000},  {I18N_NOOP("Gray"), 0x808080},        {I18N_NOOP("Silver"), 0xC0C0C0},
    {I18N_NOOP("Red"), 0x0000FF},   {I18N_NOOP("Lime"), 0x00FF00},        {I18N_NOOP("Yellow"), 0x00FFFF},
    {I18N_NOOP("Blue"), 0xFF0000},  {I18N_NOOP("Fuchsia"), 0xFF00FF},     {I18N_NOOP("Aqua"), 0xFFFF00},
    {I18N_NOOP("White"), 0xFFFFFF}, {I18N_NOOP("Money Green"), 0xC0DCC0}, {I18N_NOOP("Sky Blue"), 0xF0CAA6},
    {I18N_NOOP("Cream"), 0xF0FBFF}, {I18N_NOOP("Medium Gray"), 0xA4A0A0},
};

// System colours by their index in the low byte.
constexpr const char* systemColors[] = {
    I18N_NOOP("Scroll Bar"),
    I18N_NOOP("Desktop"),
    I18N_NOOP("Active Caption"),
    I18N_NOOP("Inactive Caption"),
    I18N_NOOP("Menu"),
    I18N_NOOP("Window"),
    I18N_NOOP("Window Frame"),
    I18N_NOOP("Menu Text"),
    I18N_NOOP("Window Text"),
    I18N_NOOP("Caption Text"),
    I18N_NOOP("Active Border"),
    I18N_NOOP("Inactive Border"),
    I18N_NOOP("Application Workspace"),
    I18N_NOOP("Highlight"),
    I18N_NOOP("Highlight Text"),
    I18N_NOOP("Button Face"),
    I18N_NOOP("Button Shadow"),
    I18N_NOOP("Gray Text"),
    I18N_NOOP("Button Text"),
    I18N_NOOP("Inactive Caption Text"),
    I18N_NOOP("Button Highlight"),
    I18N_NOOP("3D Dark Shadow"),
    I18N_NOOP("3D Light"),
    I18N_NOOP("Info Text"),
    I18N_NOOP("Info Background"),
};

QIcon swatch(int32_t value) {
    QPixmap pixmap(16, 12);
    pixmap.fill(WinColor::toQColor(value));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

ColorComboBox::ColorComboBox(int entries, QWidget* parent) : QComboBox(parent) {
    if (entries & CustomColor) {
        addItem(i18n("Custom..."));
        m_customIndex = 0;
    }
    if (entries & NamedColors)
        for (const NamedColor& color : namedColors)
            addColorEntry(i18n(color.name), color.value);
    if (entries & SystemColors)
        for (int i = 0; i < int(std::size(systemColors)); ++i)
            addColorEntry(i18n(systemColors[i]), WinColor::SystemColorFlag | i);
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, &ColorComboBox::entryActivated);
    connect(this, &QComboBox::currentIndexChanged, this, &ColorComboBox::rememberSelection);
}

void ColorComboBox::addColorEntry(const QString& name, int32_t value) {
    addItem(swatch(value), name, QVariant::fromValue(value));
}

int32_t ColorComboBox::colorValue() const {
    const QVariant data = currentData();
    return data.isValid() ? data.value<int32_t>() : 0;
}

int ColorComboBox::indexOfColor(int32_t value) const {
    for (int i = 0; i < count(); ++i) {
        const QVariant data = itemData(i);
        if (data.isValid() && data.value<int32_t>() == value) return i;
    }
    return -1;
}

void ColorComboBox::setColorValue(int32_t value) {
    int index = indexOfColor(value);
    if (index < 0) {
        addColorEntry(QStringLiteral("$%1").arg(quint32(value), 8, 16, QLatin1Char('0')).toUpper(), value);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void ColorComboBox::rememberSelection(int index) {
    if (index >= 0 && index != m_customIndex) m_lastColorIndex = index;
}

void ColorComboBox::entryActivated(int index) {
    if (index < 0 || index != m_customIndex) return;
    const int32_t previous = m_lastColorIndex >= 0 ? itemData(m_lastColorIndex).value<int32_t>() : 0;
    const QColor chosen = QColorDialog::getColor(WinColor::toQColor(previous), this, i18n("Color"),
                                                 QColorDialog::DontUseNativeDialog);
    if (chosen.isValid())
        setColorValue(WinColor::fromQColor(chosen));
    else
        setCurrentIndex(m_lastColorIndex);
}
