#pragma once
// Where the Viewer frame sits in the main window's design (twips, in the window's client area):
// right of the panel grid. The Viewer places itself there; the main window's layout starts from
// the same rectangle and grows it to the window's right and bottom edges.
#include "Twips.h"

constexpr TwipRect kViewerFrameDesign{6600, 0, 8655, 10815};
