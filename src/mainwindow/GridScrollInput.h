#pragma once
// Mouse wheel and Page Up/Page Down for the panel grid. The grid has no scrolling of its own:
// its scroll bar VScroll1 moves the panels (VScroll1_Change), so every step taken here goes
// through the scroll bar, and the grid moves exactly as if its arrows or its track were clicked.
#include <QObject>

class QScrollBar;
class QWidget;

class GridScrollInput : public QObject {
    Q_OBJECT
public:
    // grid is the clipping area that holds the panels; it takes click focus so that the keys work
    // after a click on a panel. Both grid and bar are watched; neither is owned.
    GridScrollInput(QWidget* grid, QScrollBar* bar, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QScrollBar* bar_;
    // Wheel turns in eighths of a degree not yet used: a notch is 120, and fine-grained wheels
    // and touchpads send less at a time.
    int pendingAngle_ = 0;
};
