#pragma once
// The mask of the Viewer's cam over its picture while the Viewer is in "Mask" mode: rectangles
// of the picture (a burnt-in clock, a logo, a ticker) that the picture comparison leaves out.
// A drag adds a rectangle, a click on one removes it. Rectangles are in fractions of the
// picture's size, so they fit the picture at any zoom and any resolution the cam sends. It lies
// over imgMain, follows its size, and is hidden outside Mask mode (it then takes no clicks).
#include <QList>
#include <QPoint>
#include <QRectF>
#include <QWidget>

class MaskOverlay : public QWidget {
    Q_OBJECT
public:
    // Smaller drags (pixels, either way) are clicks.
    static constexpr int kDragPixels = 4;

    // `picture`: the control the picture fills, which the overlay covers.
    explicit MaskOverlay(QWidget* picture);

    void setRectangles(const QList<QRectF>& rectangles);
    const QList<QRectF>& rectangles() const { return rectangles_; }
    void setEditing(bool on);
    bool editing() const { return isVisible(); }

Q_SIGNALS:
    // The user added or removed a rectangle: the whole mask as it is now.
    void edited(const QList<QRectF>& rectangles);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF toFractions(const QRect& pixels) const;
    QRect toPixels(const QRectF& fractions) const;

    QList<QRectF> rectangles_;
    QPoint pressedAt_;
    QRect dragged_;  // pixels; empty while no drag runs
    bool pressed_ = false;
};
