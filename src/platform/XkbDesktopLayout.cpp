#include "platform/XkbDesktopLayout.h"

#include "platform/Errors.h"
#include "platform/RegularFile.h"
#include "platform/TextLines.h"
#include "platform/XkbHandles.h"
#include "platform/XkbLayoutTable.h"

#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <xkbcommon/xkbcommon-x11.h>

namespace {

QString rulesListPath() {
    const QByteArray root = qgetenv("XKB_CONFIG_ROOT");
    return (root.isEmpty() ? QStringLiteral("/usr/share/X11/xkb") : QString::fromLocal8Bit(root)) +
           QStringLiteral("/rules/evdev.lst");
}

// Description -> XKB layout and variant, from the rules list's layout and variant sections. The
// list is read through the reader (a regular file of at most 8 MiB; Debian 12 has 45 KB), so that a
// pipe or a device in its place cannot hold the program up; a list that cannot be read names no
// layout.
QHash<QString, QPair<QByteArray, QByteArray>> readDescriptions() {
    QHash<QString, QPair<QByteArray, QByteArray>> descriptions;
    QByteArray list;
    try {
        list = RegularFile::read(rulesListPath(), 8 * 1024 * 1024);
    } catch (const QuorvelError&) {
        return descriptions;
    }
    static const QRegularExpression layoutLine(QStringLiteral("^(\\S+)\\s+(.+)$"));
    static const QRegularExpression variantText(QStringLiteral("^(\\S+): (.+)$"));
    QByteArray section;
    forEachLine(list, [&](QByteArrayView bytes) {
        const QString line = QString::fromUtf8(bytes).trimmed();
        if (line.startsWith(QLatin1Char('!'))) {
            section = line.mid(1).trimmed().toLatin1();
            return;
        }
        const QRegularExpressionMatch m = layoutLine.match(line);
        if (!m.hasMatch()) return;
        if (section == "layout") {
            descriptions.insert(m.captured(2), {m.captured(1).toLatin1(), QByteArray()});
        } else if (section == "variant") {
            const QRegularExpressionMatch v = variantText.match(m.captured(2));
            if (v.hasMatch())
                descriptions.insert(v.captured(2), {v.captured(1).toLatin1(), m.captured(1).toLatin1()});
        }
    });
    return descriptions;
}

} // namespace

std::optional<quint32> identifierOfXkbDescription(const QString& description) {
    static const auto descriptions = readDescriptions();
    const auto it = descriptions.constFind(description);
    if (it == descriptions.constEnd()) return std::nullopt;
    if (const XkbLayoutEntry* entry = findXkbLayout(it->first.constData(), it->second.constData()))
        return entry->identifier;
    return std::nullopt;
}

std::optional<XkbDesktopLayouts> readXkbDesktopLayouts(xkb_context* context) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || !context) return std::nullopt;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return std::nullopt;
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                     nullptr))
        return std::nullopt;
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0) return std::nullopt;
    XkbKeymapPtr keymap(
        xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return std::nullopt;
    XkbStatePtr state(xkb_x11_state_new_from_device(keymap.get(), connection, device));
    const xkb_layout_index_t activeGroup =
        state ? xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;

    XkbDesktopLayouts layouts;
    for (xkb_layout_index_t group = 0; group < xkb_keymap_num_layouts(keymap.get()); ++group) {
        const char* name = xkb_keymap_layout_get_name(keymap.get(), group);
        const std::optional<quint32> identifier =
            name ? identifierOfXkbDescription(QString::fromUtf8(name)) : std::nullopt;
        if (!identifier) continue;
        layouts.identifiers.push_back(*identifier);
        if (group == activeGroup) layouts.active = identifier;
    }
    return layouts;
}
