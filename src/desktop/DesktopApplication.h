#pragma once
// What a program with windows sets up once its QApplication exists.

// The product metadata (InitApplicationMetadata), the compiled-in pictures and icons, and
// message boxes as the prompt every library asks the user through.
void InitDesktopApplication();
