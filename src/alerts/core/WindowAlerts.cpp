#include "WindowAlerts.h"

#include "AlertLog.h"
#include "Options.h"
#include "Translations.h"
#include "WatchedCams.h"

WindowAlerts::WindowAlerts(WatchedCams& cams, const QString& busName, std::function<qint64()> monotonicMs,
                           QObject* parent)
    : QObject(parent), cams_(cams), rules_(std::move(monotonicMs)), notifications_(busName)
{
    rules_.watch(cams_);
    connect(&rules_, &CamAlerts::alerted, this,
            [this](const CamAlertEvent& event) {
                if (!notificationsOn_ && command_.command().isEmpty())
                    return;                  // nobody asked for alerts
                const EnglishTexts english;  // the log's words, whatever the window's
                qCInfo(lcAlert).noquote()
                    << (event.back
                            ? QStringLiteral("%1 is back").arg(event.cam)
                            : QStringLiteral("%1 is %2: %3").arg(event.cam, StateText(event.state), event.reason));
                if (event.index >= 0 && event.index < WatchedCams::kCount)
                    command_.run(event, cams_.cam(event.index).slotPictureBytes);
            });
    connect(&rules_, &CamAlerts::notify, this, [this](const AlertNotice& notice) {
        if (!notificationsOn_)
            return;
        QImage picture;
        if (notice.showIndex >= 0 && notice.showIndex < WatchedCams::kCount &&
            cams_.cam(notice.showIndex).showsCamPicture())
            picture = cams_.cam(notice.showIndex).picture();
        notifications_.show(notice, picture);
    });
    connect(&rules_, &CamAlerts::withdraw, &notifications_, &DesktopNotifications::withdraw);
    connect(&notifications_, &DesktopNotifications::showCam, this, &WindowAlerts::showCam);
}

void WindowAlerts::applyOptions()
{
    notificationsOn_ = OptionIsOn(SettingKeys::alertNotifications);
    rules_.setAlertAfterSeconds(OptionNumber(SettingKeys::alertAfterSeconds).value_or(60));
    command_.setCommandLine(OptionValue(SettingKeys::alertCommand));
}
