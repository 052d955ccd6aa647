#include "ViewerSlot.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <tuple>

#include "ImageControl.h"
#include "SlotHealthMark.h"
#include "SlotProgressBar.h"
#include "Twips.h"

namespace {

// A rectangle given in twips, placed in device-independent pixels.
QRect TwipsRect(double left, double top, double width, double height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

template <typename Control> Control* Named(Control* control, const char* name, int index)
{
    control->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
    return control;
}

QLineEdit* HiddenText(QWidget* frame, const char* name, int index, double top)
{
    auto* text = Named(new QLineEdit(frame), name, index);
    text->setGeometry(TwipsRect(120, top, 1395, 285));
    return text;
}

QPushButton* IconButton(QWidget* frame, const char* name, int index, double left, const QString& icon,
                        const QString& tip)
{
    auto* button = Named(new QPushButton(frame), name, index);
    button->setGeometry(TwipsRect(left, 1380, 495, 435));
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(24, 24));  // pixels
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The panel's frame and caption, drawn once and kept. The progress bar and the refresh
// indicator are not opaque, so every value the bar takes and every fetch that starts or ends
// repaints the panel behind them, and the style draws a group box afresh each time (it loads its
// frame picture, which asks the file's time and so the time zone, and lays out the caption).
// For an answer that changes nothing else that was a large share of its cost.
class SlotFrame : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const qreal ratio = devicePixelRatioF();
        // Everything the style's drawing depends on.
        const auto key =
            std::make_tuple(option.rect, ratio, option.text, option.state.toInt(), option.subControls.toInt(),
                            option.activeSubControls.toInt(), int(option.features), int(option.textAlignment),
                            option.lineWidth, option.midLineWidth, option.palette.cacheKey(),
                            option.fontMetrics.height(), font().key(), static_cast<const void*>(style()));
        if (drawn_.isNull() || key != key_) {
            QPixmap pixmap((QSizeF(size()) * ratio).toSize());
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setPen(palette().color(foregroundRole()));
            painter.setFont(font());
            style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
            painter.end();
            drawn_ = pixmap;
            key_ = key;
        }
        QPainter painter(this);
        painter.setClipRegion(event->region());
        painter.drawPixmap(0, 0, drawn_);
    }

private:
    QPixmap drawn_;
    std::tuple<QRect, qreal, QString, int, int, int, int, int, int, int, qint64, int, QString, const void*> key_;
};

}  // namespace

void ViewerSlot::create(int index, QWidget* surface)
{
    // Panel grid: 2 columns, 12 rows, 1635 x 1935 twips each, 45 twips apart.
    Frame = Named(new SlotFrame(QStringLiteral("[WebCam]"), surface), "Frame", index);
    Frame->setGeometry(TwipsRect(60 + 1680 * (index % 2), 60 + 1980 * (index / 2), 1635, 1935));
    Frame->hide();

    // Picture3 frames the thumbnail holder by one pixel, behind it, so a click on the thumbnail's
    // edge still shows the slot.
    Picture3 = Named(new ImageControl(Frame), "Picture3", index);
    Picture3->setGeometry(TwipsRect(165, 285, 1305, 945));
    Picture2 = Named(new QWidget(Frame), "Picture2", index);
    Picture2->setGeometry(TwipsRect(180, 300, 1275, 915));
    imgCam = Named(new ImageControl(Picture2), "imgCam", index);
    imgCam->setStretch(true);
    imgCam->setGeometry(TwipsRect(-10, -10, 1275, 960));
    healthMark = Named(new SlotHealthMark(Picture2), "healthMark", index);

    imgRefresh = Named(new ImageControl(Frame), "imgRefresh", index);
    imgRefresh->setGeometry(TwipsRect(660, 660, 315, 255));  // the 21 x 17 pixel indicator
    imgRefresh->hide();

    prgCam = Named(new SlotProgressBar(Frame), "prgCam", index);
    prgCam->setGeometry(TwipsRect(180, 1200, 1275, 135));

    cmdRefresh = IconButton(Frame, "cmdRefresh", index, 180, QStringLiteral(":/pictures/cmdrefresh.png"),
                            QCoreApplication::translate("ViewerSlot", "Refresh"));
    cmdStop = IconButton(Frame, "cmdStop", index, 960, QStringLiteral(":/pictures/cmdstop.png"),
                         QCoreApplication::translate("ViewerSlot", "Stop"));

    // The slot's texts live below the panel's lower edge (1935 twips), where nobody sees them.
    txtRefreshed = HiddenText(Frame, "txtRefreshed", index, 2880);
    txtAddress = HiddenText(Frame, "txtAddress", index, 3180);
    txtRefresh = HiddenText(Frame, "txtRefresh", index, 3480);
    txtName = HiddenText(Frame, "txtName", index, 3780);
    txtUpdated = HiddenText(Frame, "txtUpdated", index, 4080);
    cmdStart = Named(new QPushButton(QStringLiteral("start"), Frame), "cmdStart", index);
    cmdStart->setGeometry(TwipsRect(120, 4380, 1395, 255));
}

bool ViewerSlot::isOpen() const
{
    return Frame && !Frame->isHidden();
}

QString ViewerSlot::caption() const
{
    QString text = Frame->title();
    return text.replace(QLatin1String("&&"), QLatin1String("&"));
}

void ViewerSlot::setCaption(const QString& text)
{
    Frame->setTitle(QString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
}
