#include "HealthCounts.h"

#include "CamAlerts.h"
#include "Translations.h"

QString HealthCountsText(const QList<CamHealthLine>& cams)
{
    if (cams.isEmpty())
        return TranslatedText("HealthCounts", "no cam open");
    // Ok, then the states that alert from the worst, then whatever else (starting).
    const CamState order[] = {CamState::Ok, CamState::Failing, CamState::Frozen, CamState::Stale, CamState::Starting};
    QStringList parts;
    for (const CamState state : order) {
        const auto count =
            std::count_if(cams.begin(), cams.end(), [state](const auto& cam) { return cam.state == state; });
        if (count > 0)
            parts << QStringLiteral("%1 %2").arg(count).arg(StateText(state));
    }
    return parts.join(QStringLiteral(", "));
}

QStringList DownCamLines(const QList<CamHealthLine>& cams)
{
    QStringList lines;
    for (const CamHealthLine& cam : cams) {
        if (!StateAlerts(cam.state))
            continue;
        QString line = cam.name + QStringLiteral(": ") + StateText(cam.state);
        if (!cam.reason.isEmpty())
            line += QStringLiteral(": ") + cam.reason;
        lines << line;
    }
    return lines;
}
