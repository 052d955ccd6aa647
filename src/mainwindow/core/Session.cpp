#include "Session.h"

#include "Options.h"
#include "Settings.h"

QString PanelsText(const QStringList& panels)
{
    QStringList kept = panels;
    while (!kept.isEmpty() && kept.constLast().isEmpty())
        kept.removeLast();
    return kept.join(QLatin1Char('\n'));
}

QStringList PanelsFromText(const QString& text)
{
    QStringList panels = text.split(QLatin1Char('\n'));
    while (!panels.isEmpty() && panels.constLast().isEmpty())
        panels.removeLast();
    return panels;
}

RememberedSession ReadRememberedSession()
{
    RememberedSession session;
    session.panels = PanelsFromText(GetUserSetting(SettingKeys::sessionCams));
    session.viewerCam = GetUserSetting(SettingKeys::sessionViewerCam);
    // The key's rule let only a step or "fit" through; anything else reads as its default.
    const QString zoom = SettingValue(SettingKeys::sessionZoom).trimmed();
    session.fit = zoom.compare(QLatin1String("fit"), Qt::CaseInsensitive) == 0;
    session.zoom = session.fit ? 1 : zoom.toInt();
    session.wall = SettingIsOn(SettingKeys::sessionWall);
    session.window = QByteArray::fromBase64(GetUserSetting(SettingKeys::sessionWindow).toLatin1());
    return session;
}

bool KeepRememberedSession(const RememberedSession& session, const RememberedSession& kept)
{
    bool written = true;
    const auto keep = [&written](bool changed, const SettingKey& key, const QString& value) {
        if (changed && !SaveUserSetting(key, value))
            written = false;
    };
    keep(PanelsText(session.panels) != PanelsText(kept.panels), SettingKeys::sessionCams, PanelsText(session.panels));
    keep(session.viewerCam != kept.viewerCam, SettingKeys::sessionViewerCam, session.viewerCam);
    keep(session.zoom != kept.zoom || session.fit != kept.fit, SettingKeys::sessionZoom,
         session.fit ? QStringLiteral("fit") : QString::number(session.zoom));
    keep(session.wall != kept.wall, SettingKeys::sessionWall, session.wall ? QStringLiteral("1") : QStringLiteral("0"));
    keep(session.window != kept.window, SettingKeys::sessionWindow, QString::fromLatin1(session.window.toBase64()));
    return written;
}
