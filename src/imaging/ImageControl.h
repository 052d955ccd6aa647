#pragma once
// A picture display like a classic image control: it holds one decoded picture (shared, never
// copied) and either takes the picture's own size (stretching off) or scales it to its own
// size (stretching on). The scaled copy is made once per picture and size and painted from
// then on, so a repaint never rescales the full picture.
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "ShrinkPicture.h"

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    // Assigns the picture; with stretching off the control resizes itself to the picture's
    // size in device-independent pixels. A null image empties the control (size unchanged).
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    void clear();

    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    // Stretched larger than the picture: filtered (on) or in blocks of whole pixels (off, as a
    // zoom by whole steps shows them). Shrinking is always averaged.
    void setSmoothEnlarging(bool on);
    bool smoothEnlarging() const { return smooth_; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateOpaqueness();

    QImage picture_;
    QPixmap scaled_;  // the picture at the control's current size, made on demand
    bool stretch_ = false;
    bool smooth_ = false;
};
