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
    // Asked at every answer of every cam: the store is looked at once (the file's time stamp and
    // size, and a lookup), not once per value.
    const QMap<QString, QString> values = CamSettingsOf(camName);
    const auto value = [&values](const char* name) { return values.value(QString::fromLatin1(name)); };
    return CamChoices{CamRuleFromText(value(CamSettingNames::newPictureRule)),
                      MaskFromText(value(CamSettingNames::mask)),
                      value(CamSettingNames::streamTransport) == QLatin1String(CamSettingValues::udp)};
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
