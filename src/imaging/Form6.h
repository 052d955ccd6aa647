#pragma once
// The full-window view: a borderless window showing the Viewer's picture as large as the window
// allows in its own shape (letterboxed on black), following each new picture of the shown slot
// until the user clicks it away.
#include <QImage>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

class ImageControl;
class QLabel;

// Where a picture of that size is shown in a window of that size: the largest rectangle of the
// picture's shape, centred; the whole window when either is empty.
QRect FullWindowPictureRect(const QSize& picture, const QSize& window);

class Form6 : public QWidget {
    Q_OBJECT
public:
    // screenSaverSwitch turns the system screen saver on or off (true = on); the view calls it
    // with true exactly once, when it goes away by whatever means.
    explicit Form6(std::function<bool(bool)> screenSaverSwitch, QWidget* parent = nullptr);
    ~Form6() override;

    ImageControl* Image1 = nullptr;  // the picture, stretched to the largest rectangle of its shape
    QLabel* picrefresh = nullptr;    // shown while the shown slot fetches a new picture

    // A new picture of the shown slot: the refresh indicator goes, the picture is shown.
    // A null picture (a load that failed) keeps the picture the view has.
    void UpdateFullWindow(const QImage& picture);
    // A frame of the shown cam's live stream: shown like a picture, but a fetch that runs
    // meanwhile keeps its indicator (frames come many times a second).
    void ShowLiveFrame(const QImage& picture);
    void ShowRefreshIndicator();
    // The shown slot's fetch ended without a picture (or the slot stopped).
    void HideRefreshIndicator();

Q_SIGNALS:
    // The view is going away (click, Escape, the window's close command); the screen saver
    // has been switched back on.
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Image1_Click();
    void Form_Unload();

    std::function<bool(bool)> screenSaverSwitch_;
    bool unloaded_ = false;
};
