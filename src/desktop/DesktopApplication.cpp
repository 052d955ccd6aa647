#include "DesktopApplication.h"

#include "MessageBoxPrompt.h"
#include "ProductInfo.h"
#include "Utilities.h"

void InitDesktopApplication()
{
    InitApplicationMetadata();
    // Icons and pictures are compiled into a static library; make them reachable at once.
    LoadProgramResources();
    SetDefaultPrompt(&MessageBoxPrompt());
}
