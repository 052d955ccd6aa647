#pragma once
// Small routines for windows and the desktop: the screen saver, the always-on-top band, the
// program's icons and pictures.
#include <QString>

class QAbstractButton;
class QWidget;

// Lets the desktop's screen saver run (true) or keeps it off (false) through the session
// bus's org.freedesktop.ScreenSaver service. True when the service accepted the change;
// false without a session bus, without the service, or when it refuses.
bool SetScreenSaverActive(bool active);
// The D-Bus connection (by name, as made with QDBusConnection::connectToBus) that
// SetScreenSaverActive talks to; the empty name restores the session bus.
void SetScreenSaverBus(const QString& connectionName);

// Puts the widget's window into the always-on-top band (on) or takes it out, keeping it
// shown when it was shown.
void SetTopMost(QWidget* window, bool on);

// A push button of a fixed width whose caption (a translation) is wider than the button gets a
// smaller font, down to 7 points, so that its caption shows whole; one that fits is left alone.
void FitButtonCaption(QAbstractButton* button);
// Makes the program's compiled-in pictures and icons (":/icons/...", ":/pictures/...")
// available. They live in this static library, whose resource object the linker keeps only
// when something names it; safe to call any number of times.
void LoadProgramResources();

// Gives the widget's window the icon resource ":/icons/" + name + ".png"; with alsoOwner the
// last window of its owner chain gets it first. A missing resource removes the icon.
void SetWindowIcon(QWidget* window, const QString& name, bool alsoOwner);
