#pragma once
// The "Viewer" frame: the large picture with zoom (1x to 5x) and panning, the details frame
// below it, and the full-window view Form6. Geometry is kept in twips and applied at 15 twips
// per pixel; the main window's layout moves Picture1, frmDetails and the bars on resize.
#include <QGroupBox>
#include <QImage>
#include <QString>

class ImageControl;
class QLabel;
class QPushButton;
class QScrollBar;
class Form6;

struct ViewerDetails {
    QString name, refresh, lastChanged, lastRefreshed;
};

class ViewerPane : public QGroupBox {   // frmMain
    Q_OBJECT
public:
    explicit ViewerPane(QWidget* parent = nullptr);
    ~ViewerPane() override;

    // Controls, named as their objectName.
    QWidget* Picture1 = nullptr;       // the viewport
    ImageControl* imgMain = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QPushButton* Command1 = nullptr;   // corner box where the bars meet
    QGroupBox* frmDetails = nullptr;
    QLabel *lblName = nullptr, *lblRefresh = nullptr, *lblLastChanged = nullptr, *lblLastRefreshed = nullptr,
           *lblNextRefresh = nullptr, *lblTime = nullptr;
    QScrollBar* Slider1 = nullptr;     // zoom 1 to 5
    QPushButton* cmdSave = nullptr;    // "Save Image"
    QPushButton* Command3 = nullptr;   // "Screensaver"

    int naturalWidth = 0;    // twips, the shown picture at zoom 1
    int naturalHeight = 0;

    // Steps 2 to 8 of showing a slot: frames visible, natural size, zoom, captions; the caller
    // sets selectedSlot and asks the clock afterwards. slotElapsed gives the countdown.
    void ShowSlot(const QImage& picture, const ViewerDetails& details, int slotElapsed);
    void ApplyZoom();
    // A new picture of the shown slot: imgMain only (natural size and zoom unchanged).
    void setPicture(const QImage& picture);
    void setDetails(const ViewerDetails& details);
    void setNextRefresh(const QString& text);
    void HideViewer();   // hides frmMain and frmDetails

    // Full-window view.
    void Command3_Click();
    void UpdateFullWindow(const QImage& picture);
    void ShowFullWindowRefreshIndicator();
    bool FullWindowVisible() const;
    Form6* fullWindow() const;

Q_SIGNALS:
    void saveRequested();                     // cmdSave clicked
    void screensaverModeChanged(bool on);     // the full-window view opened or closed
};
