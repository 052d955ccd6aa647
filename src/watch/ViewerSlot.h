#pragma once
// One viewer panel of the main window: its controls (the control arrays indexed by slot
// number). What the panel shows is its cam's (WatchedCam); the panel holds no watch state.
//
// Every control carries "<name>_<index>" as its objectName, for example "Frame_0",
// "imgCam_5", "txtRefresh_23", so tests and tools find them.
#include <QString>

class ImageControl;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;
class SlotHealthMark;
class SlotProgressBar;

struct ViewerSlot {
    // Controls; the panel owns them through Qt parenthood.
    QGroupBox* Frame = nullptr;            // the panel; visible exactly while the slot is open
    QWidget* Picture2 = nullptr;           // thumbnail holder, clips imgCam
    ImageControl* imgCam = nullptr;        // the thumbnail: the picture (a scaled decode), stretched
    ImageControl* imgRefresh = nullptr;    // refresh indicator, shown while a fetch runs
    ImageControl* Picture3 = nullptr;      // the box around the thumbnail; a second click target
    SlotHealthMark* healthMark = nullptr;  // over the thumbnail's edge: stale or failing
    SlotProgressBar* prgCam = nullptr;     // percent of the fetch's picture body received; 0 at its start
    QLineEdit* txtName = nullptr;          // the cam's texts: below the panel's lower edge, never seen
    QLineEdit* txtAddress = nullptr;
    QLineEdit* txtRefresh = nullptr;    // refresh interval in seconds, as typed
    QLineEdit* txtUpdated = nullptr;    // the server's Last-Modified value
    QLineEdit* txtRefreshed = nullptr;  // local date and time a changed picture was last seen
    QPushButton* cmdStart = nullptr;    // "start", never seen
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdStop = nullptr;

    // Builds the panel's controls on the grid's scrolling surface, hidden, at the panel's
    // place for this index (twips, applied at 15 twips per pixel).
    void create(int index, QWidget* surface);
    // The panel's caption as plain text: the cam's name while open, "[webcam]" after a stop.
    // (The frame would read a single "&" as a shortcut marker, so it is stored doubled.)
    QString caption() const;
    void setCaption(const QString& text);
    // A slot is open while its panel is shown (whether or not the window itself is on screen).
    bool isOpen() const;
};
