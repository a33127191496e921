#pragma once

class QWidget;

// Keeps the title that the window manager is given for `window` empty while its caption is
// empty. Qt never hands an empty title to an X11 window manager: it puts the application's name
// in its place. The window's own title properties are therefore written empty again whenever Qt
// has written them (when the native window is made, when the caption is set, when it is shown).
void keepWindowTitleEmpty(QWidget* window);
