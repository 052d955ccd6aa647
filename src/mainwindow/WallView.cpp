#include "WallView.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ImageControl.h"
#include "SlotGrid.h"
#include "SlotHealthMark.h"

namespace {
// The overlay: a dark band over the picture's lower (or upper) edge with light text, so it reads
// on a bright sky as on a night picture; a failing tile's reason sits on the same dark.
const QColor kBand(0, 0, 0, 160);
const QColor kOverlayText(255, 255, 255);
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
    if (state != mark_->state())
        update();  // the failing reason and the band's room beside the symbol follow the state
    mark_->setState(state);
    mark_->setGeometry(markHolder_->rect());
}

void WallTile::setHealthText(const QString& text)
{
    if (text == healthText_)
        return;
    healthText_ = text;
    update();
}

void WallTile::setBandPlace(WallBandPlace place)
{
    if (place == bandPlace_)
        return;
    bandPlace_ = place;
    update();
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
    if (fetching_ && !refreshIndicator_.isNull()) {
        // In the picture's top left corner, below the band when the band is at the top.
        const int padding = textSizes().padding;
        const QRect band = bandRect();
        const int top = bandPlace_ == WallBandPlace::Top && !band.isEmpty() ? band.bottom() + 1 : pictureRect_.top();
        painter.drawImage(QPoint(pictureRect_.left() + padding, top + padding), refreshIndicator_);
    }
    paintOverlay(painter);
    paintHealthText(painter);
}

WallTextSizes WallTile::textSizes() const
{
    const QRect area = pictureRect_.isEmpty() ? rect() : pictureRect_;
    return WallBandTextSizes(area.height(), QFontInfo(font()).pixelSize());
}

QFont WallTile::nameFont() const
{
    QFont name = font();
    name.setBold(true);
    name.setPixelSize(textSizes().name);
    return name;
}

QFont WallTile::timeFont() const
{
    QFont time = font();
    time.setPixelSize(textSizes().time);
    return time;
}

QRect WallTile::bandRect() const
{
    if (bandPlace_ == WallBandPlace::Hidden)
        return {};
    const QRect area = pictureRect_.isEmpty() ? rect() : pictureRect_;
    const int padding = textSizes().padding;
    if (area.width() - 2 * padding <= 0)
        return {};
    const int wanted = 2 * padding + QFontMetrics(nameFont()).height() +
        (lastChanged_.isEmpty() ? 0 : QFontMetrics(timeFont()).height());
    const int height = qMin(wanted, area.height());
    const int top = bandPlace_ == WallBandPlace::Top ? area.top() : area.bottom() + 1 - height;
    return {area.left(), top, area.width(), height};
}

void WallTile::paintOverlay(QPainter& painter) const
{
    const QRect band = bandRect();
    if (band.isEmpty())
        return;
    const int padding = textSizes().padding;
    int textWidth = band.width() - 2 * padding;
    // At the top, the health mark's symbol sits in the band's right corner: the text stops short.
    if (bandPlace_ == WallBandPlace::Top && SlotHealthMark::ColorFor(state()).isValid())
        textWidth -= mark_->symbolSize() + SlotHealthMark::kBorderWidth + padding;
    painter.fillRect(band, kBand);
    if (textWidth <= 0)
        return;
    const QFont name = nameFont();
    const QFont time = timeFont();
    const QFontMetrics nameMetrics(name);
    const QFontMetrics timeMetrics(time);
    painter.save();
    painter.setClipRect(band);
    painter.setPen(kOverlayText);
    painter.setFont(name);
    QRect line(band.left() + padding, band.top() + padding, textWidth, nameMetrics.height());
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, nameMetrics.elidedText(name_, Qt::ElideRight, textWidth));
    if (!lastChanged_.isEmpty()) {
        painter.setFont(time);
        line = QRect(line.left(), line.bottom() + 1, textWidth, timeMetrics.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         timeMetrics.elidedText(lastChanged_, Qt::ElideRight, textWidth));
    }
    painter.restore();
}

WallTile::HealthTextLayout WallTile::healthTextLayout() const
{
    if (healthText_.isEmpty() || state() != CamState::Failing)
        return {};
    const QRect area = pictureRect_.isEmpty() ? rect() : pictureRect_;
    const WallTextSizes sizes = textSizes();
    const int padding = sizes.padding;
    // The room the band and the mark's symbol (top right) leave, the text a padding inside its box.
    QRect room = area.adjusted(padding, padding, -padding, -padding);
    room.setTop(qMax(room.top(), area.top() + SlotHealthMark::kBorderWidth + mark_->symbolSize() + padding));
    if (const QRect band = bandRect(); !band.isEmpty()) {
        if (bandPlace_ == WallBandPlace::Top)
            room.setTop(qMax(room.top(), band.bottom() + 1 + padding));
        else
            room.setBottom(qMin(room.bottom(), band.top() - 1 - padding));
    }
    const QRect inner = room.adjusted(padding, padding, -padding, -padding);
    if (inner.width() <= 0 || inner.height() <= 0)
        return {};
    // As large as the name, smaller when the words need the room, never below the window's font
    // (what still does not fit is cut off at the box's edge).
    const int smallest = qMin(sizes.name, QFontInfo(font()).pixelSize());
    QFont text = font();
    int pixels = sizes.name;
    QRect needed;
    for (;;) {
        text.setPixelSize(pixels);
        needed = QFontMetrics(text).boundingRect(QRect(0, 0, inner.width(), 1 << 20),
                                                 Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, healthText_);
        if ((needed.height() <= inner.height() && needed.width() <= inner.width()) || pixels <= smallest)
            break;
        pixels = qMax(smallest, qMin(pixels - 1, pixels * 9 / 10));
    }
    QRect drawn(0, 0, qMin(needed.width(), inner.width()), qMin(needed.height(), inner.height()));
    drawn.moveCenter(inner.center());
    return {text, drawn.adjusted(-padding, -padding, padding, padding), drawn};
}

QRect WallTile::healthTextRect() const
{
    return healthTextLayout().box;
}

void WallTile::paintHealthText(QPainter& painter) const
{
    const HealthTextLayout layout = healthTextLayout();
    if (layout.box.isEmpty())
        return;
    painter.fillRect(layout.box, kBand);
    painter.save();
    painter.setClipRect(layout.box);
    painter.setPen(kOverlayText);
    painter.setFont(layout.font);
    painter.drawText(layout.text, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, healthText_);
    painter.restore();
}

void WallTile::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked(slotIndex_);
    QWidget::mouseReleaseEvent(event);
}

void WallTile::contextMenuEvent(QContextMenuEvent* event)
{
    Q_EMIT contextMenuRequested(slotIndex_, event->globalPos());
    event->accept();
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
        connect(tile, &WallTile::contextMenuRequested, this, &WallView::tileContextMenuRequested);
        tiles_.at(static_cast<size_t>(i)) = tile;
    }
    connect(slots_, &WatchedCams::changed, this, &WallView::slotChanged);
}

void WallView::setRefreshIndicatorPicture(const QImage& picture)
{
    refreshIndicator_ = picture;
    update();
}

void WallView::setBandPlace(WallBandPlace place)
{
    bandPlace_ = place;
    for (WallTile* tile : tiles_)
        tile->setBandPlace(place);
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
    // The state last reported, as the panel's mark shows it; a failing tile says why in words.
    const CamHealth& health = cam.health();
    tile->setState(health.reportedState);
    tile->setHealthText(health.reportedState == CamState::Failing ? HealthSummary(health, health.reportedState)
                                                                  : QString());
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
    const int count = int(shown_.size());
    for (WallTile* tile : tiles_) {
        const auto position = shown_.indexOf(tile->slotIndex());
        if (position < 0 || grid.columns == 0) {
            tile->hide();
            tile->clear();
            continue;
        }
        tile->setGeometry(WallCellRect(grid, int(position), count, kGap).translated(offset));
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
    painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, emptyText());
}

QString WallView::emptyText()
{
    return tr("No cams are open. Press Esc for the cam list.");
}

bool WallView::eventFilter(QObject* watched, QEvent* event)
{
    // A tile's tool tip is its cam's health in full, made when it is asked for.
    if (event->type() == QEvent::ToolTip) {
        if (auto* tile = qobject_cast<WallTile*>(watched))
            tile->setToolTip(SlotGrid::camToolTip(slots_->cam(tile->slotIndex())));
    }
    return QWidget::eventFilter(watched, event);
}
