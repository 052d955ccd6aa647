#pragma once
// The health of the open cams summed up in words, for the tray's tool tip and menu:
// "21 ok, 2 failing, 1 stale", the cams that are down listed by name.
#include <QList>
#include <QString>
#include <QStringList>

#include "CamHealth.h"

struct CamHealthLine {
    QString name;
    CamState state = CamState::Starting;
    QString reason;
};

// "21 ok, 2 failing, 1 stale, 1 starting": ok first, then the states that alert, then the rest;
// states no cam is in are left out. "no cam open" for none.
QString HealthCountsText(const QList<CamHealthLine>& cams);
// One line per cam that is down (StateAlerts): "Harbour: failing: connection refused".
QStringList DownCamLines(const QList<CamHealthLine>& cams);
