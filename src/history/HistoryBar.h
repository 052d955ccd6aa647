#pragma once
// The history bar of the Viewer: for the cam shown, a slider over its saved pictures (oldest on
// the left, the live picture at the right end), previous and next buttons, the date and time of
// the picture shown, and "Live". Stepping loads the saved file; the main window puts it into
// imgMain at the picture's own size, with its zoom and pan. "Live" or another cam returns to the
// live picture; new live pictures that come while someone steps through the saved ones wait,
// counted on the button ("Live (3 new)").
#include <QImage>
#include <QList>
#include <QWidget>
#include <memory>

#include "PictureIndex.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

class HistoryBar : public QWidget {  // frmHistory
    Q_OBJECT
public:
    explicit HistoryBar(QWidget* parent = nullptr);
    ~HistoryBar() override;

    QPushButton* cmdPrevious = nullptr;
    QSlider* sldHistory = nullptr;  // 0 .. count: a saved picture each, then live
    QPushButton* cmdNext = nullptr;
    QLabel* lblHistoryTime = nullptr;
    QPushButton* cmdLive = nullptr;

    // Lists the cam's saved pictures and goes live.
    void showCam(const QString& cam);
    // A picture of a cam was saved: the shown cam's list grows (what is shown stays).
    void pictureSaved(const QString& cam);
    // The shown cam has a new live picture: shown at once when live, else counted on cmdLive.
    void livePictureArrived();
    int newLivePictures() const { return newLive_; }
    // A recorder on the folder saves the shown cam's pictures, and tells nobody: its new rows
    // are looked for every 2 s (followTimer) and join the list as the window's own do.
    void followRecorder();
    QTimer& followTimer() { return *followTimer_; }
    void returnToLive();
    bool isLive() const { return position_ == static_cast<int>(pictures_.size()); }
    const QString& cam() const { return cam_; }
    int pictureCount() const { return static_cast<int>(pictures_.size()); }
    // Shows the saved picture at this position (count: live).
    void stepTo(int position);
    void cmdPrevious_Click();
    void cmdNext_Click();

Q_SIGNALS:
    // A saved picture to show in imgMain.
    void pictureChosen(const QImage& picture);
    // Back to the live picture: the main window shows the slot's own.
    void liveChosen();
    // A saved file that could not be read, in words for the status bar.
    void problem(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void reload();
    void updateControls();
    void fitRows();

    QHBoxLayout* steps_ = nullptr;
    QHBoxLayout* times_ = nullptr;
    std::unique_ptr<PictureIndex> index_;  // this thread's own connection to the save folder's index
    QString folder_;                       // the save folder the pictures listed are in
    QString cam_;
    QList<PictureRecord> pictures_;
    int position_ = 0;
    int newLive_ = 0;  // live pictures that came while a saved one was shown
    bool updating_ = false;
    QTimer* followTimer_ = nullptr;
};
