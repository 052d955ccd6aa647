#pragma once
// The thin mark over a thumbnail's edge that says how its cam is doing: nothing while it is ok,
// an amber dashed border with a clock symbol while it is stale, a blue dotted border with a
// snowflake while it is frozen, a red solid border with a cross while it is failing. Colour,
// line pattern and symbol each tell them apart, so the mark does not rest on telling red from
// green (or amber, or blue). It lies over the thumbnail holder, takes
// no clicks and moves no control.
//
// Tests read it from the widget: the palette's WindowText is the colour, and the properties
// "state" ("stale", "frozen", "failing", empty), "pattern" ("dashed", "dotted", "solid") and
// "symbol" ("clock", "snowflake", "cross") say the rest.
#include <QColor>
#include <QWidget>

#include "CamHealth.h"

class SlotHealthMark : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString state READ stateName)
    Q_PROPERTY(QString pattern READ pattern)
    Q_PROPERTY(QString symbol READ symbol)
public:
    static constexpr int kBorderWidth = 2;  // pixels
    static constexpr int kSymbolSize = 11;  // pixels, the symbol's disc on a panel

    // Covers the holder (the thumbnail's clipping box); hidden until a state needs a mark.
    explicit SlotHealthMark(QWidget* holder);

    void setState(CamState state);
    // Larger views (the wall's tiles) draw a larger symbol; pixels, at least kSymbolSize.
    void setSymbolSize(int pixels);
    int symbolSize() const { return symbolSize_; }
    CamState state() const { return state_; }
    QString stateName() const;
    QString pattern() const;
    QString symbol() const;
    // Red for failing, blue for frozen, amber for stale; invalid for states that show no mark.
    // They differ in lightness too (dark red, middle blue, light amber).
    static QColor ColorFor(CamState state);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CamState state_ = CamState::Starting;
    int symbolSize_ = kSymbolSize;
};
