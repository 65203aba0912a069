#pragma once
// Handing addresses and files to the desktop.

#include <QString>

// Opens the address with the desktop's browser; false when no desktop (no
// GUI application object) is there or it refuses the address.
bool openInBrowser(const QString& address);
// Opens the folder holding the file in the desktop's file manager; nothing
// happens when there is no desktop.
void showFileInExplorer(const QString& file);
