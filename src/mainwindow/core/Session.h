#pragma once
// The session the main window brings back at start: the open cams in their panels, the cam the
// Viewer shows, its zoom, the wall, the window's place and state. Kept in the per-user store
// (the Session keys of SettingKeys.h); this part reads and writes it and knows no window.
#include <QByteArray>
#include <QString>
#include <QStringList>

struct RememberedSession {
    // The cam name of each panel in panel order; an empty name is a free panel. Free panels
    // after the last open one are not kept.
    QStringList panels;
    QString viewerCam;  // empty: the Viewer showed no cam
    int zoom = 1;       // the zoom bar's value
    bool fit = false;   // the Viewer showed the whole picture (Fit); kept instead of the zoom
    bool wall = false;
    QByteArray window;  // QWidget::saveGeometry; empty: none kept

    bool operator==(const RememberedSession&) const = default;
};

// What the store holds; a value it cannot use reads as its default (no cam, zoom 1, ...).
RememberedSession ReadRememberedSession();
// Writes the keys whose value differs from `kept` (what the store is known to hold), so that
// a session that did not change costs no write. Returns false when a write failed.
bool KeepRememberedSession(const RememberedSession& session, const RememberedSession& kept);

// The panels as the store holds them (one name a line, trailing free panels dropped) and back.
// Names never hold a line break: the cam list refuses them.
QString PanelsText(const QStringList& panels);
QStringList PanelsFromText(const QString& text);
