#include "WatchChoices.h"

#include "CamSettings.h"
#include "Options.h"
#include "PictureIndex.h"
#include "SettingKeys.h"
#include "TrustedCas.h"
#include "WatchedCams.h"

FetchOptions ChosenFetchOptions()
{
    FetchOptions options;
    options.followRedirects = OptionIsOn(SettingKeys::followRedirects);
    options.conditionalRequests = OptionIsOn(SettingKeys::conditionalRequests);
    options.newPictureRule = NewPictureRuleFromText(OptionValue(SettingKeys::newPictureRule));
    options.change.pixelLevel = OptionNumber(SettingKeys::changedPixelLevel).value_or(options.change.pixelLevel);
    options.change.areaPerMille = OptionNumber(SettingKeys::changedAreaPerMille).value_or(options.change.areaPerMille);
    options.save = ChosenSavePlace();
    return options;
}

CamChoices ChosenCamChoices(const QString& camName)
{
    return CamChoices{CamRuleFromText(CamSetting(camName, QString::fromLatin1(CamSettingNames::newPictureRule))),
                      MaskFromText(CamSetting(camName, QString::fromLatin1(CamSettingNames::mask))),
                      CamSetting(camName, QString::fromLatin1(CamSettingNames::streamTransport)) ==
                          QLatin1String(CamSettingValues::udp)};
}

void ApplyChosenWatchOptions(WatchedCams& cams)
{
    cams.setStaleMinutes(*OptionNumber(SettingKeys::staleMinutes));
    cams.setFrozenMinutes(*OptionNumber(SettingKeys::frozenMinutes));
    SetCaFile(OptionValue(SettingKeys::caFile));
    cams.setFinishSlowDownloads(OptionIsOn(SettingKeys::finishSlowDownloads));
    cams.setLiveInViewer(OptionIsOn(SettingKeys::liveInViewer));
    cams.setFetchOptions(ChosenFetchOptions());
}
