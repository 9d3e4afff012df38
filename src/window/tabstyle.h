#ifndef TABSTYLE_H
#define TABSTYLE_H

// Buttons in the status area's tabs: the window's large rounded buttons
// without their ten-character minimum width, which a tab row cannot hold.
inline const char *compact_buttons()
{
    return "QPushButton, QPushButton:hover { min-width: 0; padding: 3px 10px;"
           " border-radius: 6px; }";
}

#endif
