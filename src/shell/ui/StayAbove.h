#pragma once

class QWidget;

// Makes the top-level window `companion` a transient of `owner`, so that the window manager
// keeps it above `owner` (and above the owner's other windows it does not cover itself).
// The on-screen keyboard and the hands use it: a drill opens over the main window, and the
// keyboard must never disappear behind the main window's buttons.
void stayAbove(QWidget* companion, QWidget* owner);
