#pragma once
// The cam list box List1, filled from the cam list file (CamList.h reads the names).
class QListWidget;

// The most characters of a cam's name the box draws; a longer name is drawn cut, with an ellipsis.
constexpr int kLongestShownCamName = 1000;

// Appends one entry per listed name, in file order, none selected; creates the file when
// missing. The box draws long names shortened (kLongestShownCamName). Throws CamListError, leaving the box as it was,
// when the file cannot be read.
void LoadCamList(QListWidget* list);
// Clears the box, then lists again; neither checks for nor creates the file. Throws
// CamListError, leaving the box as it was, when the file cannot be read.
void ReloadCamList(QListWidget* list);
