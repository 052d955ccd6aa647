#include "WallView.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ImageControl.h"
#include "SlotHealthMark.h"

namespace {
// The overlay: a dark band over the picture's lower edge with light text, so it reads on a
// bright sky as on a night picture.
const QColor kBand(0, 0, 0, 160);
const QColor kOverlayText(255, 255, 255);
constexpr int kPadding = 4;  // pixels around the overlay's text and the indicator
}  // namespace

WallTile::WallTile(int slotIndex, const QImage& refreshIndicator, QWidget* parent)
    : QWidget(parent), slotIndex_(slotIndex), refreshIndicator_(refreshIndicator)
{
    setObjectName(QStringLiteral("wallTile_%1").arg(slotIndex));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the tile paints every pixel
    markHolder_ = new QWidget(this);
    markHolder_->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark_ = new SlotHealthMark(markHolder_);
    mark_->setObjectName(QStringLiteral("wallHealthMark_%1").arg(slotIndex));
    hide();
}

void WallTile::setPicture(const QImage& picture)
{
    if (picture.cacheKey() == picture_.cacheKey())
        return;
    picture_ = picture;
    rescale();
    update();
}

void WallTile::clear()
{
    picture_ = QImage();
    scaled_ = QPixmap();
}

void WallTile::setTexts(const QString& name, const QString& lastChanged)
{
    if (name == name_ && lastChanged == lastChanged_)
        return;
    name_ = name;
    lastChanged_ = lastChanged;
    update();
}

void WallTile::setFetching(bool on)
{
    if (on == fetching_)
        return;
    fetching_ = on;
    update();
}

void WallTile::setState(CamState state)
{
    mark_->setState(state);
    mark_->setGeometry(markHolder_->rect());
}

void WallTile::screenChanged()
{
    rescale();
    update();
}

CamState WallTile::state() const
{
    return mark_->state();
}

void WallTile::rescale()
{
    pictureRect_ = LetterboxRect(rect(), picture_.size());
    markHolder_->setGeometry(pictureRect_);
    mark_->setGeometry(markHolder_->rect());
    // The symbol grows with the tile, so it reads from across the room: a tenth of its height.
    mark_->setSymbolSize(qMin(pictureRect_.height() / 10, 32));
    scaled_ = QPixmap();
    if (picture_.isNull() || pictureRect_.isEmpty())
        return;
    // At device pixels, so that a HiDPI screen gets every pixel it can show.
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(pictureRect_.size()) * ratio).toSize();
    scaled_ = QPixmap::fromImage(target == picture_.size() ? picture_ : ShrinkPicture(picture_, target));
    scaled_.setDevicePixelRatio(ratio);
    ++scalings_;
}

void WallTile::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    rescale();
}

void WallTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!scaled_.isNull())
        painter.drawPixmap(pictureRect_.topLeft(), scaled_);
    if (fetching_ && !refreshIndicator_.isNull())
        painter.drawImage(pictureRect_.topLeft() + QPoint(kPadding, kPadding), refreshIndicator_);
    paintOverlay(painter);
}

void WallTile::paintOverlay(QPainter& painter) const
{
    const QRect area = pictureRect_.isEmpty() ? rect() : pictureRect_;
    QFont nameFont = font();
    nameFont.setBold(true);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics timeMetrics(font());
    const int textWidth = area.width() - 2 * kPadding;
    if (textWidth <= 0)
        return;
    const bool withTime = !lastChanged_.isEmpty();
    const int bandHeight = kPadding * 2 + nameMetrics.height() + (withTime ? timeMetrics.height() : 0);
    const QRect band(area.left(), area.bottom() + 1 - qMin(bandHeight, area.height()), area.width(),
                     qMin(bandHeight, area.height()));
    painter.fillRect(band, kBand);
    painter.setPen(kOverlayText);
    painter.setFont(nameFont);
    QRect line(band.left() + kPadding, band.top() + kPadding, textWidth, nameMetrics.height());
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, nameMetrics.elidedText(name_, Qt::ElideRight, textWidth));
    if (withTime) {
        painter.setFont(font());
        line = QRect(line.left(), line.bottom() + 1, textWidth, timeMetrics.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         timeMetrics.elidedText(lastChanged_, Qt::ElideRight, textWidth));
    }
}

void WallTile::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked(slotIndex_);
    QWidget::mouseReleaseEvent(event);
}

WallView::WallView(WatchedCams* cams, QWidget* parent) : QWidget(parent), slots_(cams)
{
    setObjectName(QStringLiteral("wall"));
    setFocusPolicy(Qt::StrongFocus);  // so Escape reaches it
    QPalette colors = palette();
    colors.setColor(QPalette::Window, Qt::black);
    colors.setColor(QPalette::WindowText, Qt::white);
    setPalette(colors);
    setAutoFillBackground(true);
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        auto* tile = new WallTile(i, refreshIndicator_, this);
        tile->installEventFilter(this);
        connect(tile, &WallTile::clicked, this, &WallView::tileClicked);
        tiles_.at(static_cast<size_t>(i)) = tile;
    }
    connect(slots_, &WatchedCams::changed, this, &WallView::slotChanged);
}

void WallView::setRefreshIndicatorPicture(const QImage& picture)
{
    refreshIndicator_ = picture;
    update();
}

void WallView::setActive(bool on)
{
    active_ = on;
    if (!on) {
        slots_->setLargestTileSize({});
        fullFrom_.fill(0);
        // Nothing shows the tiles now: the pictures they hold would only keep memory.
        for (WallTile* tile : tiles_)
            tile->clear();
        return;
    }
    if (const QWindow* shownOn = window()->windowHandle())
        connect(shownOn, &QWindow::screenChanged, this, &WallView::screenChanged, Qt::UniqueConnection);
    relayout(true);
    for (int i = 0; i < WatchedCams::kCount; ++i)
        updateTile(i);
}

void WallView::screenChanged()
{
    if (!active_)
        return;
    relayout(true);  // the tiles' device pixels changed, and with them the decodes they need
    for (const int index : shown_)
        tiles_.at(static_cast<size_t>(index))->screenChanged();
}

void WallView::slotChanged(int index)
{
    if (!active_)
        return;
    relayout(false);
    updateTile(index);
}

void WallView::updateTile(int index)
{
    WatchedCam& cam = slots_->cam(index);
    WallTile* tile = tiles_.at(static_cast<size_t>(index));
    if (!cam.isOpen()) {
        tile->clear();
        return;
    }
    tile->setTexts(cam.name(), cam.updatedText());
    tile->setFetching(cam.fetching());
    tile->setState(cam.health().reportedState);  // the state last reported, as the panel's mark shows it
    // The thumbnail's decode is scaled for the tiles too; a tile grown since needs the full one.
    const QImage& thumbnail = cam.picture();
    const qreal ratio = devicePixelRatioF();
    const QSize drawn = LetterboxRect(tile->rect(), cam.pictureSize()).size() * ratio;
    qint64& fullFrom = fullFrom_.at(static_cast<size_t>(index));
    if (thumbnail.width() >= drawn.width() && thumbnail.height() >= drawn.height()) {
        fullFrom = 0;
        tile->setPicture(thumbnail);
    } else if (fullFrom != thumbnail.cacheKey() || tile->picture().isNull()) {
        fullFrom = thumbnail.cacheKey();
        tile->setPicture(cam.displayPicture(drawn));
    }
}

void WallView::relayout(bool force)
{
    QList<int> open;
    QList<QSize> sizes;
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        const WatchedCam& cam = slots_->cam(i);
        if (cam.isOpen()) {
            open << i;
            sizes << cam.pictureSize();
        }
    }
    const double aspect = WallAspect(sizes);
    const WallGrid grid = ChooseWallGrid(size(), int(open.size()), aspect, kGap);
    if (!force && open == shown_ && grid == grid_)
        return;
    shown_ = open;
    grid_ = grid;
    // The grid's cells leave a few pixels over on the right and at the bottom: centre it.
    const QSize used(grid.columns * (grid.cell.width() + kGap) - kGap, grid.rows * (grid.cell.height() + kGap) - kGap);
    const QPoint offset((width() - used.width()) / 2, (height() - used.height()) / 2);
    for (WallTile* tile : tiles_) {
        const auto position = shown_.indexOf(tile->slotIndex());
        if (position < 0 || grid.columns == 0) {
            tile->hide();
            tile->clear();
            continue;
        }
        tile->setGeometry(WallCellRect(grid, int(position), kGap).translated(offset));
        tile->show();
    }
    // New pictures are decoded large enough for the tiles; those shown now may need more.
    slots_->setLargestTileSize(grid.cell * devicePixelRatioF());
    for (const int index : shown_)
        updateTile(index);
    update();
}

void WallView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (active_)
        relayout(false);
}

void WallView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT leaveRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void WallView::paintEvent(QPaintEvent*)
{
    if (!shown_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("No cams are open. Press Esc for the cam list."));
}

bool WallView::eventFilter(QObject* watched, QEvent* event)
{
    // A tile's tool tip is its cam's health in full, made when it is asked for.
    if (event->type() == QEvent::ToolTip) {
        if (auto* tile = qobject_cast<WallTile*>(watched))
            tile->setToolTip(slots_->cam(tile->slotIndex()).healthToolTip());
    }
    return QWidget::eventFilter(watched, event);
}
