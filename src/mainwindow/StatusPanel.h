#pragma once
// The first panel of the main window's status bar: a text label with a width of its own.
// Its width is set once at start-up and kept; a window narrower than the panel simply clips
// it, so the panel never stops the window from being made smaller.
//
// It shows two kinds of text. A message (a save, a failure, an answer to something the user
// did) is kept in view for kMessageHoldMs; a progress text ("Downloading …"), which every
// arrival of every cam brings, replaces only a message that has been there that long, so no
// message is overwritten before anyone could read it.
#include <QLabel>
#include <functional>

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    static constexpr qint64 kMessageHoldMs = 10000;

    explicit StatusPanel(QWidget* parent = nullptr);

    int panelWidth() const { return panelWidth_; }  // pixels
    void setPanelWidth(int pixels);

    void showMessage(const QString& text);
    void showProgress(const QString& text);
    // Milliseconds of a clock that never goes back (tests inject one); default QElapsedTimer.
    void setMonotonicClock(std::function<qint64()> milliseconds);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int panelWidth_ = 100;
    std::function<qint64()> monotonicMs_;
    qint64 messageShownMs_ = -1;  // when the message shown was set; -1: none is kept
};
