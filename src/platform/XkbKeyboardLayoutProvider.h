#pragma once

#include "platform/KeyboardLayoutProvider.h"
#include "platform/XkbDesktopLayout.h"
#include "platform/XkbHandles.h"
#include "platform/XkbLayoutTable.h"

class XkbKeyTranslator;

// Keyboard layouts on XKB: the offered layouts are those of the layout table; the loaded ones
// are the desktop's layouts at start plus every layout activated since. Activating compiles the
// layout's keymap and makes it the program's own through the key translator hook; the desktop's
// keyboard is never changed. The desktop's own layout is translated too, so that a layout types
// the same characters on every desktop (the desktop's input method would compose dead keys by
// its own table: dead acute then the space bar gives an apostrophe there, not the accent).
class XkbKeyboardLayoutProvider final : public KeyboardLayoutProvider {
public:
    // Reads the desktop's layouts from the X server when it can.
    XkbKeyboardLayoutProvider();
    // With the desktop's layouts as given (nothing: unknown desktop).
    explicit XkbKeyboardLayoutProvider(std::optional<XkbDesktopLayouts> desktop);
    ~XkbKeyboardLayoutProvider() override;

    std::vector<InstalledKeyboardLayout> installedLayouts() override;
    std::vector<quint32> loadedLayouts() override { return m_loaded; }
    quint32 activeLayout() override { return m_active; }
    QString localeText(quint16 languageId, LocaleText kind) override;
    bool activate(const QByteArray& identifierText) override;

    // The translator installed by the last activation; nullptr before the first one.
    XkbKeyTranslator* translator() const { return m_translator.get(); }

    // The keymap of an offered layout, compiled with this machine's xkeyboard-config; null when
    // it does not compile.
    static XkbKeymapPtr compileKeymap(xkb_context* context, const XkbLayoutEntry& entry);
    // An identifier text of exactly eight hexadecimal digits, in either case.
    static std::optional<quint32> parseIdentifier(const QByteArray& identifierText);

private:
    void useTranslator(std::unique_ptr<XkbKeyTranslator> translator);
    xkb_compose_table* composeTable();

    XkbContextPtr m_context;
    XkbComposeTablePtr m_composeTable;
    bool m_composeTried = false;
    std::vector<quint32> m_loaded;
    quint32 m_active = 0;
    std::unique_ptr<XkbKeyTranslator> m_translator;
};
