#include "DesktopApplication.h"

#include <QGuiApplication>

#include "MessageBoxPrompt.h"
#include "ProductInfo.h"
#include "Utilities.h"

void InitDesktopApplication()
{
    InitApplicationMetadata();
    // Wayland's app id (and on X11 _GTK_APPLICATION_ID): without it the desktop takes the
    // executable's name, finds no tolvane.desktop and shows the window without the menu entry's
    // name and icon.
    QGuiApplication::setDesktopFileName(DesktopEntryId());
    // Icons and pictures are compiled into a static library; make them reachable at once.
    LoadProgramResources();
    SetDefaultPrompt(&MessageBoxPrompt());
}
