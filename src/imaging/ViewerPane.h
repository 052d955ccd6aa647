#pragma once
// The "Viewer" frame: the large picture with zoom (1x to 5x, or Fit) and panning, the details
// frame below it, and the full-window view Form6. Besides the bars, the wheel pans (Shift+wheel
// sideways), dragging pans, and Ctrl+wheel zooms about the mouse; each of them moves the bars,
// which stay what says where the picture is. Geometry is kept in twips and applied at 15 twips
// per pixel; the main window's layout moves Picture1, frmDetails and the bars on resize.
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "Twips.h"

class ImageControl;
class MaskOverlay;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWheelEvent;
class Form6;

// The texts of the details frame, taken from a slot: lblName, lblRefresh, lblLastChanged and
// lblLastRefreshed show the slot's txtName, txtRefresh, txtUpdated and txtRefreshed.
struct ViewerDetails {
    QString name, refresh, lastChanged, lastRefreshed;
};

// The countdown caption: the refresh text read as a number of seconds, minus the seconds
// elapsed, in the shortest decimal form ("30" and 12 give "18", "30" and 31 give "-1").
// A refresh text that is not a number gives "?": the countdown is unknown, and the slot's
// other captions still show what was typed.
QString NextRefreshText(const QString& refreshText, int slotElapsed);

class ViewerPane : public QGroupBox {  // frmMain
    Q_OBJECT
public:
    explicit ViewerPane(QWidget* parent = nullptr);
    ~ViewerPane() override;

    // Controls, named as their objectName.
    QWidget* Picture1 = nullptr;        // the viewport: a picture box with a sunken border
    QWidget* Picture1Client = nullptr;  // its client area, inside the border: holds and clips the rest
    ImageControl* imgMain = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QPushButton* Command1 = nullptr;  // corner box where the bars meet
    QGroupBox* frmDetails = nullptr;
    QLabel *lblName = nullptr, *lblRefresh = nullptr, *lblLastChanged = nullptr, *lblLastRefreshed = nullptr,
           *lblNextRefresh = nullptr, *lblTime = nullptr;
    QLabel* labelStatus = nullptr;  // "Status:", in the row below the clock
    QLabel* lblStatus = nullptr;    // the shown cam's health: "failing: HTTP 404 Not Found, ..."
    QLabel *Label12 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *labelalla = nullptr, *Label6 = nullptr;  // fixed captions
    QScrollBar* Slider1 = nullptr;                   // zoom 1 to 5
    QLabel* lblZoom = nullptr;                       // the zoom shown: "2×", "Fit"
    QPushButton* cmdFit = nullptr;                   // "Fit", checked while Fit shows
    QPushButton* cmdSave = nullptr;                  // "Save Image"
    QPushButton* Command3 = nullptr;                 // "Screensaver"
    // "Mask": the shown cam's mask over the picture, to draw (a drag) and remove (a click); on
    // the frame's caption row, right of "Viewer", where it moves nothing.
    QCheckBox* chkMask = nullptr;
    MaskOverlay* maskOverlay = nullptr;

    int naturalWidth = 0;  // twips, the shown picture at zoom 1
    int naturalHeight = 0;

    // Turns the system screen saver on (true) or off (false); SetScreenSaverActive unless a
    // test puts its own in. Read when the full-window view opens.
    std::function<bool(bool)> screenSaverSwitch;

    // Geometry in twips, relative to the control's container: this pane in its parent,
    // Picture1 and frmDetails in this pane, imgMain, HScroll1, VScroll2 and Command1 in
    // Picture1's client area (inside its 30-twip border; imgMain is clipped to the part left
    // of and above the bars, which starts at the same corner), the details in frmDetails. Setting applies it at once
    // (15 twips per pixel); the main window's layout reads and sets Picture1, frmDetails, the bars and Command1 here.
    // Moving Picture1 or the bars does not re-run ApplyZoom; call it after a layout change.
    TwipRect twipsGeometry(const QWidget* control) const;
    void setTwipsGeometry(QWidget* control, const TwipRect& geometry);
    void setTwipsGeometry(QWidget* control, double left, double top, double width, double height);

    // Steps 2 to 8 of showing a slot: frames visible, natural size, zoom, captions; the caller
    // sets selectedSlot and asks the clock afterwards. slotElapsed gives the countdown.
    void ShowSlot(const QImage& picture, const ViewerDetails& details, int slotElapsed);
    // Sizes imgMain by the zoom bar (or, at Fit, to the whole picture in the viewport) and sets
    // both pan bars (see ComputeZoom).
    void ApplyZoom();

    // Fit: the whole picture at the largest size the viewport shows, its shape kept, made again
    // by every ApplyZoom (a resize, another picture size). The zoom bar stands at the step below
    // the factor; moving it, or a zoom step, leaves Fit. Off: the bar's zoom again.
    void setFit(bool on);
    bool fit() const { return fit_; }
    // The factor the picture is shown at: the bar's step, or Fit's.
    double zoomFactor() const { return shownZoom_; }
    // One step of the zoom bar in `direction` (+1 in, -1 out), keeping the picture point under
    // `anchor` (pixels in the area the picture shows in) where it is. Without an anchor: the
    // mouse when it is over the picture, else the middle of the viewport.
    void stepZoom(int direction);
    void stepZoom(int direction, QPointF anchor);
    QWidget* pictureArea() const { return pictureArea_; }
    // A new picture of the shown slot: imgMain only (natural size and zoom unchanged).
    // A null picture (a load that failed) keeps the picture shown. After a saved picture the
    // live picture's natural size comes back.
    void setPicture(const QImage& picture);
    // A saved picture of the shown cam (the history bar): shown at its own size and shape, at
    // the zoom and pan set, whatever size the live picture has (a cam may have changed its
    // resolution since). A null picture keeps the picture shown.
    void showSavedPicture(const QImage& picture);
    void setDetails(const ViewerDetails& details);
    void setNextRefresh(const QString& text);
    // The "Status:" line; a text longer than the line ends in "…", and the whole text is its tool tip.
    // The line (and the clock's above it) runs to the details frame's right edge, and a wider
    // frame shows more of the text.
    void setStatusLine(const QString& text);
    QString statusLine() const { return statusText_; }
    void HideViewer();  // hides frmMain and frmDetails
    // The shown cam's mask, in fractions of its picture, drawn while in Mask mode.
    void setMask(const QList<QRectF>& rectangles);

    // Full-window view.
    void Command3_Click();
    void UpdateFullWindow(const QImage& picture);
    void ShowLiveFrameInFullWindow(const QImage& picture);  // the refresh indicator stays as it is
    void ShowFullWindowRefreshIndicator();
    void HideFullWindowRefreshIndicator();
    bool FullWindowVisible() const;
    Form6* fullWindow() const;  // null while the view is not open
    bool screensaverMode() const { return screensaverMode_; }

    // Change handlers of the bars (connected to their valueChanged).
    void Slider1_Change();
    void HScroll1_Change();
    void VScroll2_Change();

Q_SIGNALS:
    void saveRequested();                              // cmdSave clicked
    void fitChanged(bool on);                          // Fit switched on or off
    void screensaverModeChanged(bool on);              // the full-window view opened or closed
    void maskModeChanged(bool on);                     // chkMask changed: the caller gives the shown cam's mask
    void maskEdited(const QList<QRectF>& rectangles);  // the user drew or removed a rectangle

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* makeLabel(QWidget* container, const char* name, const QString& caption, const TwipRect& geometry);
    void buildDetails();
    // Widens the clock and status labels to the details frame's width, and shortens the status anew.
    void fitValueColumn();
    void widenCaptionColumn();
    void elideStatusLine();
    void Form6_Unload();
    // imgMain with stretching off has taken its picture's size (pixels): record it in twips.
    TwipRect takeImageSize();
    void changeFit(bool on);  // the state and its button, without applying the zoom
    void Slider1_Action();    // the user moved the zoom bar: leaves Fit, even at the same step
    // The pointer over the picture: the wheel, Ctrl+wheel and dragging. `at` in picture-area pixels.
    bool pictureWheel(const QWheelEvent& wheel, QPointF at);
    // Moves the pan bars by these twips; a bar that is off stays.
    void panBy(double horizontal, double vertical);

    // The natural size (twips) of the slot's picture while a saved picture of another size is
    // shown; empty while the live picture is.
    std::optional<std::pair<int, int>> liveNatural_;
    QHash<const QWidget*, TwipRect> twips_;
    QPointer<Form6> form6_;
    QWidget* pictureArea_ = nullptr;  // in Picture1Client, left of VScroll2 and above HScroll1: holds imgMain
    QString statusText_;              // the whole Status text; lblStatus shows what fits
    float captionExtra_ = 0;          // twips the caption column grew by for a long caption
    bool screensaverMode_ = false;
    bool fit_ = false;
    bool barFollowsFit_ = false;  // ApplyZoom is setting the zoom bar for Fit, or a step for a zoom
    double shownZoom_ = 1;
    int wheelZoom_ = 0;  // Ctrl+wheel turns not yet a whole notch (fine-grained wheels)
    // A drag: where it started (global pixels) and the bars' values then.
    std::optional<QPointF> dragFrom_;
    int dragH_ = 0, dragV_ = 0;
};
