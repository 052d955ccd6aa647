#pragma once
// The watch choices the user made (Options and each cam's own), read from the settings and
// handed to a set of watched cams. The window and the recorder read them through these, so a cam
// is fetched, judged new and saved alike by both.
#include <QString>

#include "CamSource.h"
#include "PictureChange.h"

class WatchedCams;

// The fetch options the Options say now: redirects, conditional requests, the new-picture rule
// and where and under which names pictures are saved.
FetchOptions ChosenFetchOptions();
// The choices stored for the cam of this name: its own new-picture rule and its mask.
CamChoices ChosenCamChoices(const QString& camName);
// Everything above given to the cams, with the stale and frozen thresholds, the extra
// certificate authorities and the slow-download choice.
void ApplyChosenWatchOptions(WatchedCams& cams);
