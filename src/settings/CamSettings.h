#pragma once
// Choices made for one cam (its rule for new pictures, its masks, whether it is saved or
// recorded, ...), kept in the main store under the cam's name and not in the cam list file,
// whose format other programs and the user's own copies rely on byte for byte. The cam
// commands carry them over when a cam is renamed and remove them when it is deleted.
//
// Reads are cheap: the store is read once and again only when its file changes, so a watched
// cam may ask on every answer, and a second process (the recorder) sees the window's changes.
// Safe to call from any thread.
#include <QMap>
#include <QString>

// The names a cam's choices are stored under; each feature adds its own here, so that no two
// use one name for different things.
namespace CamSettingNames {
inline constexpr char newPictureRule[] = "newPictureRule";
inline constexpr char mask[] = "mask";
inline constexpr char autoSave[] = "autoSave";
inline constexpr char record[] = "record";
inline constexpr char recordSchedule[] = "recordSchedule";
inline constexpr char streamTransport[] = "streamTransport";
}  // namespace CamSettingNames

// Values of those names that more than one place writes or reads.
namespace CamSettingValues {
// streamTransport: RTP over UDP; no value is TCP (RTP inside the RTSP connection).
inline constexpr char udp[] = "udp";
}  // namespace CamSettingValues

// The cam's value, or fallback when it has none or the store cannot be read. Never throws.
QString CamSetting(const QString& cam, const QString& name, const QString& fallback = QString());
// Every value the cam has, by name.
QMap<QString, QString> CamSettingsOf(const QString& cam);

// Stores the cam's value; an empty value removes it, so the cam falls back to the default
// again. false with the reason when the store could not be written (it is then unchanged).
bool SetCamSetting(const QString& cam, const QString& name, const QString& value, QString* reason = nullptr);
// Moves every value of oldName to newName, replacing what newName had. Nothing to move is
// success.
bool RenameCamSettings(const QString& oldName, const QString& newName, QString* reason = nullptr);
// Removes every value of the cam. Nothing to remove is success.
bool RemoveCamSettings(const QString& cam, QString* reason = nullptr);

// Whether AutoSave saves this cam's new pictures ("Save this cam's new pictures" in its dialog):
// yes unless its autoSave value is off. The main AutoSave check box stays the switch for all.
bool CamAutoSaves(const QString& cam);
// Whether `tolvane --record` without --open records this cam ("Record:" in its dialog): only when
// its record value is on.
bool CamRecorded(const QString& cam);
