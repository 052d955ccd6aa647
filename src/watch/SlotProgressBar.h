#pragma once
// The panel's progress bar prgCam: takes a percentage as a float and shows it rounded, refuses
// values outside 0..100 (keeping the one it had), and reports the value it holds as a float so
// the status text can show fractions like "37.5". It shows the slot's latest fetch: the slot
// empties it when a fetch starts, and the end of a download leaves it as it stands. A new value
// is painted at most kPaintMs later, never synchronously, and not at all when the bar shows it
// already.
#include <QBasicTimer>
#include <QProgressBar>

class SlotProgressBar : public QProgressBar {
    Q_OBJECT
public:
    explicit SlotProgressBar(QWidget* parent = nullptr);

    // False (and nothing changes) when the value lies outside 0..100 or is not a number.
    bool setProgress(float percent);
    float progress() const { return progress_; }
    void clearProgress();  // back to 0: a fetch starts

    static constexpr int kPaintMs = 40;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Shows `value`, painted with the window's next paint rather than at once.
    void showValue(int value);

    float progress_ = 0.0f;  // percent of the picture body received
    int paintedValue_ = 0;   // the value the bar last painted
    QBasicTimer paintSoon_;
};
