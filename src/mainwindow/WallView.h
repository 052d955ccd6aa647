#pragma once
// The wall: every open cam as large as the window allows, in slot order, for desks and wall
// screens. Each tile shows its cam's picture letterboxed, the cam's name and Last Changed time
// on a band over it (at the bottom, at the top or hidden; its text grows with the tile, so it
// reads on a wall screen), the cam's health mark, on a failing tile the reason in words (a wall
// screen has no tool tips) and, while a fetch runs, the refresh indicator. The tiles fill the
// rows in slot order, a last row with fewer tiles centred. The wall follows the slots' opens,
// stops, edits and pictures while it is shown; hidden, it holds no pictures and does no work.
#include <QFont>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>
#include <array>

#include "CamHealth.h"
#include "WallGrid.h"
#include "WatchedCams.h"

class SlotHealthMark;

// One cam on the wall. Its picture is scaled once per new picture (or new tile size), at the
// screen's device pixels; painting only draws the scaled copy and the overlay.
class WallTile : public QWidget {
    Q_OBJECT
public:
    WallTile(int slotIndex, const QImage& refreshIndicator, QWidget* parent);

    int slotIndex() const { return slotIndex_; }
    // The slot's picture; the same picture again (same data) costs nothing.
    void setPicture(const QImage& picture);
    void clear();  // lets go of the picture
    void setTexts(const QString& name, const QString& lastChanged);
    void setFetching(bool on);
    void setState(CamState state);
    // What a failing tile says over its picture ("failing: connection refused"); empty for none.
    void setHealthText(const QString& text);
    void setBandPlace(WallBandPlace place);
    // The window moved to a screen of another pixel density: the picture again, at its pixels.
    void screenChanged();

    QString name() const { return name_; }
    QString lastChanged() const { return lastChanged_; }
    bool fetching() const { return fetching_; }
    CamState state() const;
    QString healthText() const { return healthText_; }
    WallBandPlace bandPlace() const { return bandPlace_; }
    // Where the band lies in the tile (empty while hidden or nothing to show), and the box of
    // the failing reason (empty while there is none).
    QRect bandRect() const;
    QRect healthTextRect() const;
    const QImage& picture() const { return picture_; }
    // Where the picture lies in the tile (letterboxed), and its scaled copy.
    QRect pictureRect() const { return pictureRect_; }
    const QPixmap& scaledPicture() const { return scaled_; }
    // How many times a picture has been scaled for this tile.
    int scalings() const { return scalings_; }
    SlotHealthMark* healthMark() const { return mark_; }

Q_SIGNALS:
    void clicked(int slotIndex);
    // A right click (or the menu key) on the tile, at this place on the screen.
    void contextMenuRequested(int slotIndex, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void rescale();
    void paintOverlay(QPainter& painter) const;
    void paintHealthText(QPainter& painter) const;
    // The band's fonts and padding for the tile's size.
    WallTextSizes textSizes() const;
    QFont nameFont() const;
    QFont timeFont() const;
    // The failing reason's font (shrunk until the text fits, down to the window's font) and box.
    struct HealthTextLayout {
        QFont font;
        QRect box;   // the dark box behind the text
        QRect text;  // where the text is drawn, word-wrapped
    };
    HealthTextLayout healthTextLayout() const;

    int slotIndex_;
    QImage picture_;  // shared with the slot's thumbnail, never copied
    QPixmap scaled_;
    QRect pictureRect_;
    QString name_, lastChanged_;
    QString healthText_;
    WallBandPlace bandPlace_ = WallBandPlace::Bottom;
    bool fetching_ = false;
    const QImage& refreshIndicator_;
    QWidget* markHolder_ = nullptr;  // covers the picture, so the mark frames the picture itself
    SlotHealthMark* mark_ = nullptr;
    int scalings_ = 0;
};

class WallView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kGap = 2;  // pixels between tiles

    WallView(WatchedCams* cams, QWidget* parent = nullptr);

    // Shown: the tiles take the slots' state and follow it. Hidden: the tiles let go of their
    // pictures and stop following.
    void setActive(bool on);
    bool isActive() const { return active_; }
    // The picture every tile shows while its cam fetches.
    void setRefreshIndicatorPicture(const QImage& picture);
    // Where every tile shows its cam's name and time (the Options' "wallNameBand").
    void setBandPlace(WallBandPlace place);
    WallBandPlace bandPlace() const { return bandPlace_; }

    WallTile* tile(int slotIndex) const { return tiles_.at(static_cast<size_t>(slotIndex)); }
    // The slots the wall shows, in the order of their tiles.
    const QList<int>& shownSlots() const { return shown_; }
    const WallGrid& grid() const { return grid_; }
    // What the wall says while no cam is open.
    static QString emptyText();

Q_SIGNALS:
    void tileClicked(int slotIndex);
    void tileContextMenuRequested(int slotIndex, const QPoint& globalPos);
    // Escape: back to the normal window.
    void leaveRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void slotChanged(int index);
    void screenChanged();
    void updateTile(int index);
    // Places the tiles of the open slots; only when the open slots, the pictures' shape or the
    // window's size make another grid.
    void relayout(bool force);

    WatchedCams* slots_;
    std::array<WallTile*, WatchedCams::kCount> tiles_{};
    QImage refreshIndicator_;
    QList<int> shown_;
    // Per tile: the thumbnail picture its full-size decode was made from (0: none), so a tile
    // larger than the thumbnail's decode decodes the full picture once per picture, not per change.
    std::array<qint64, WatchedCams::kCount> fullFrom_{};
    WallGrid grid_;
    WallBandPlace bandPlace_ = WallBandPlace::Bottom;
    bool active_ = false;
};
