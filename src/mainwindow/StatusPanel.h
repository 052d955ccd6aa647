#pragma once
// The first panel of the main window's status bar: a text label with a width of its own.
// Its width is set once at start-up and kept; a window narrower than the panel simply clips
// it, so the panel never stops the window from being made smaller.
#include <QLabel>

class StatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    int panelWidth() const { return panelWidth_; }  // pixels
    void setPanelWidth(int pixels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int panelWidth_ = 100;
};
