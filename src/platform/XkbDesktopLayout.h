#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

struct xkb_context;

// The layouts (XKB groups) that the desktop's keyboard carries, mapped to the offered layouts.
struct XkbDesktopLayouts {
    std::vector<quint32> identifiers; // groups without an offered layout are left out
    std::optional<quint32> active;    // the identifier of the group in force, when offered
};

// Asks the X server of the running application (libxkbcommon-x11). Nothing when there is no X11
// connection (offscreen, Wayland) or the server cannot be asked.
std::optional<XkbDesktopLayouts> readXkbDesktopLayouts(xkb_context* context);

// The offered layout whose XKB layout and variant carry a group name (the description in
// xkeyboard-config's rules list, "German", "English (US, intl., with dead keys)").
std::optional<quint32> identifierOfXkbDescription(const QString& description);
