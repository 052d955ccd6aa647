#include "ViewerPane.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cmath>

#include "DecimalNumbers.h"
#include "Form6.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "MaskOverlay.h"
#include "Twips.h"
#include "Utilities.h"
#include "ViewerDesign.h"
#include "Zoom.h"

namespace {

// Design geometry, twips. The main window's layout grows the frame (kViewerFrameDesign) to the
// window's right and bottom edges and moves what is inside with it.
constexpr TwipRect kPicture1{200, 240, 8255, 8025};
constexpr TwipRect kFrmDetails{200, 8265, 8255, 2415};
// Inside Picture1: the bars along its right and bottom edges, the corner box where they
// meet, placed where the layout puts them for the design size.
constexpr TwipRect kVScroll2{7940, 0, 255, 7770};
constexpr TwipRect kHScroll1{0, 7710, 8000, 255};
constexpr TwipRect kCommand1{7940, 7710, 195, 195};
constexpr float kInitialImageSize = 10;   // twips: imgMain before a picture gives it a size
constexpr int kViewportBorderPixels = 2;  // Picture1's border on each side (30 twips)

constexpr int kPanSmallChange = 300;   // twips, one arrow click (20 pixels)
constexpr int kPanLargeChange = 2000;  // twips, one click in the track
constexpr int kWheelNotch = 120;       // angleDelta of one notch of a common wheel

// Details frame: zoom bar and commands on the left, caption and value columns on the right.
constexpr float kCaptionLeft = 3240, kCaptionWidth = 1500, kValueLeft = 4800, kValueWidth = 3255;
constexpr float kRowHeight = 255, kFirstRowTop = 240, kRowStep = 300;
// The value column ends this far from the frame's right edge, as it does at the design size.
constexpr float kValueRightMargin = 200;

constexpr TwipRect CaptionAt(int row)
{
    return {kCaptionLeft, kFirstRowTop + kRowStep * static_cast<float>(row), kCaptionWidth, kRowHeight};
}

constexpr TwipRect ValueAt(int row)
{
    return {kValueLeft, kFirstRowTop + kRowStep * static_cast<float>(row), kValueWidth, kRowHeight};
}

// The zoom beside the bar: the step ("2×"), or "Fit".
QString ZoomText(bool fit, int step)
{
    return fit ? QCoreApplication::translate("ViewerPane", "Fit") : QString::number(step) + QChar(0x00D7);
}

QScrollBar* MakePanBar(Qt::Orientation orientation, const char* name, QWidget* parent)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 0);
    bar->setSingleStep(kPanSmallChange);
    bar->setPageStep(kPanLargeChange);
    return bar;
}

}  // namespace

QString NextRefreshText(const QString& refreshText, int slotElapsed)
{
    // Read as an open reads it (the user's decimal comma too), written without an exponent.
    const auto seconds = ReadDecimalNumber(refreshText);
    if (!seconds)
        return QStringLiteral("?");
    return ShortestNumberText(*seconds - slotElapsed);
}

ViewerPane::ViewerPane(QWidget* parent) : QGroupBox(tr("Viewer"), parent), screenSaverSwitch(SetScreenSaverActive)
{
    setObjectName(QStringLiteral("frmMain"));

    // A picture box with a sunken border: its contents live in the client area inside the
    // border, which clips the picture. The layout puts the bars 60 twips (both borders) inside
    // the box's outer size, so they meet the client area's right and bottom edges; without the
    // border the picture showed in the strip beyond them.
    auto* viewport = new QFrame(this);
    viewport->setObjectName(QStringLiteral("Picture1"));
    viewport->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    viewport->setLineWidth(kViewportBorderPixels);
    Picture1 = viewport;
    Picture1Client = new QWidget(Picture1);
    Picture1Client->setObjectName(QStringLiteral("Picture1Client"));
    Picture1Client->setAutoFillBackground(true);

    // The picture slides in the area the bars leave free and is clipped there, so it shows
    // neither beside the bars nor in the corner that the small box leaves open.
    pictureArea_ = new QWidget(Picture1Client);
    pictureArea_->setObjectName(QStringLiteral("Picture1Area"));
    imgMain = new ImageControl(pictureArea_);
    imgMain->setObjectName(QStringLiteral("imgMain"));
    imgMain->setStretch(false);
    maskOverlay = new MaskOverlay(imgMain);

    HScroll1 = MakePanBar(Qt::Horizontal, "HScroll1", Picture1Client);
    VScroll2 = MakePanBar(Qt::Vertical, "VScroll2", Picture1Client);
    Command1 = new QPushButton(Picture1Client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFocusPolicy(Qt::NoFocus);

    frmDetails = new QGroupBox(this);
    frmDetails->setObjectName(QStringLiteral("frmDetails"));
    buildDetails();

    setTwipsGeometry(this, kViewerFrameDesign);
    setTwipsGeometry(Picture1, kPicture1);
    setTwipsGeometry(frmDetails, kFrmDetails);
    setTwipsGeometry(imgMain, {0, 0, kInitialImageSize, kInitialImageSize});
    setTwipsGeometry(VScroll2, kVScroll2);
    setTwipsGeometry(HScroll1, kHScroll1);
    setTwipsGeometry(Command1, kCommand1);

    // The wheel, Ctrl+wheel and drags over the picture, or over the area beside a small one.
    imgMain->installEventFilter(this);
    pictureArea_->installEventFilter(this);

    connect(HScroll1, &QScrollBar::valueChanged, this, &ViewerPane::HScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &ViewerPane::VScroll2_Change);
    connect(Slider1, &QScrollBar::valueChanged, this, &ViewerPane::Slider1_Change);
    connect(Slider1, &QScrollBar::actionTriggered, this, &ViewerPane::Slider1_Action);
    connect(cmdFit, &QPushButton::clicked, this, &ViewerPane::setFit);
    connect(cmdSave, &QPushButton::clicked, this, &ViewerPane::saveRequested);
    connect(Command3, &QPushButton::clicked, this, &ViewerPane::Command3_Click);
    connect(chkMask, &QCheckBox::toggled, this, [this](bool on) {
        maskOverlay->setEditing(on);
        Q_EMIT maskModeChanged(on);
    });
    connect(maskOverlay, &MaskOverlay::edited, this, &ViewerPane::maskEdited);

    lblZoom->setText(ZoomText(fit_, Slider1->value()));
    frmDetails->hide();
    hide();
}

ViewerPane::~ViewerPane()
{
    // The view must not report back into a half-destroyed pane; its own destructor still
    // switches the screen saver back on.
    if (form6_) {
        form6_->disconnect(this);
        delete form6_.data();
    }
}

QLabel* ViewerPane::makeLabel(QWidget* container, const char* name, const QString& caption, const TwipRect& geometry)
{
    auto* label = new QLabel(caption, container);
    label->setObjectName(QString::fromLatin1(name));
    setTwipsGeometry(label, geometry);
    return label;
}

void ViewerPane::buildDetails()
{
    Label6 = makeLabel(frmDetails, "Label6", tr("Zoom:"), {180, 180, 1000, kRowHeight});
    Slider1 = new QScrollBar(Qt::Horizontal, frmDetails);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(kZoomStepMin, kZoomStepMax);
    Slider1->setValue(kZoomStepMin);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(1);
    setTwipsGeometry(Slider1, {180, 420, 2835, 315});
    // On the caption's row: the zoom right after "Zoom:" ("Zoom: 2×"), the button over the
    // bar's right end, so the bar and its caption keep their places.
    const float zoomLeft = 180 +
        static_cast<float>(PixelsToTwips(Label6->fontMetrics().horizontalAdvance(Label6->text() + QLatin1Char(' '))));
    lblZoom = makeLabel(frmDetails, "lblZoom", QString(), {zoomLeft, 180, 2055 - zoomLeft, kRowHeight});
    cmdFit = new QPushButton(tr("Fit"), frmDetails);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    cmdFit->setCheckable(true);
    cmdFit->setToolTip(tr("The whole picture in the Viewer (0)"));
    setTwipsGeometry(cmdFit, {2235, 120, 780, 285});

    cmdSave = new QPushButton(tr("Save Image"), frmDetails);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    setTwipsGeometry(cmdSave, {180, 900, 1335, 375});
    Command3 = new QPushButton(tr("Screensaver"), frmDetails);
    Command3->setObjectName(QStringLiteral("Command3"));
    setTwipsGeometry(Command3, {1680, 900, 1335, 375});
    // On the Viewer frame's caption row, right of "Viewer", above the picture: room no control
    // of the frame ever used.
    chkMask = new QCheckBox(tr("Mask"), this);
    chkMask->setObjectName(QStringLiteral("chkMask"));
    chkMask->setToolTip(tr("Parts of the picture that do not count as a change (a clock, a logo): drag to "
                           "add a rectangle, click one to remove it"));
    setTwipsGeometry(chkMask, {1200, 0, 1000, 240});

    Label12 = makeLabel(frmDetails, "Label12", tr("Name:"), CaptionAt(0));
    Label2 = makeLabel(frmDetails, "Label2", tr("Refresh Rate:"), CaptionAt(1));
    Label3 = makeLabel(frmDetails, "Label3", tr("Last Changed:"), CaptionAt(2));
    Label4 = makeLabel(frmDetails, "Label4", tr("Last Refreshed:"), CaptionAt(3));
    Label5 = makeLabel(frmDetails, "Label5", tr("Next Refresh:"), CaptionAt(4));
    labelalla = makeLabel(frmDetails, "labelalla", tr("Current Time:"), CaptionAt(5));
    lblName = makeLabel(frmDetails, "lblName", QString(), ValueAt(0));
    lblRefresh = makeLabel(frmDetails, "lblRefresh", QString(), ValueAt(1));
    lblLastChanged = makeLabel(frmDetails, "lblLastChanged", QString(), ValueAt(2));
    lblLastRefreshed = makeLabel(frmDetails, "lblLastRefreshed", QString(), ValueAt(3));
    lblNextRefresh = makeLabel(frmDetails, "lblNextRefresh", QString(), ValueAt(4));
    lblTime = makeLabel(frmDetails, "lblTime", QString(), ValueAt(5));
    // Below the rows the details frame has always had, so none of them moves.
    labelStatus = makeLabel(frmDetails, "labelStatus", tr("Status:"), CaptionAt(6));
    lblStatus = makeLabel(frmDetails, "lblStatus", QString(), ValueAt(6));
    lblStatus->setTextFormat(Qt::PlainText);
    widenCaptionColumn();
    for (QPushButton* button : {cmdFit, cmdSave, Command3})
        FitButtonCaption(button);
}

void ViewerPane::widenCaptionColumn()
{
    // A caption longer than its column (a translation: "Nächste Aktualisierung:") widens the
    // column and moves the values right by as much (the history bar beside them gives way), so
    // that no caption is cut off. Captions that fit keep the design's columns.
    const QList<QLabel*> captions{Label12, Label2, Label3, Label4, Label5, labelalla, labelStatus};
    const QList<QLabel*> values{lblName,        lblRefresh, lblLastChanged, lblLastRefreshed,
                                lblNextRefresh, lblTime,    lblStatus};
    int widest = 0;
    for (const QLabel* caption : captions)
        widest = std::max(widest, caption->fontMetrics().horizontalAdvance(caption->text()));
    captionExtra_ = std::max(0.0f, static_cast<float>(PixelsToTwips(widest + 4)) - kCaptionWidth);
    if (captionExtra_ <= 0)
        return;
    for (int row = 0; row < static_cast<int>(captions.size()); ++row) {
        TwipRect caption = CaptionAt(row);
        caption.Width += captionExtra_;
        setTwipsGeometry(captions.at(row), caption);
        TwipRect value = ValueAt(row);
        value.Left += captionExtra_;
        setTwipsGeometry(values.at(row), value);
    }
}

TwipRect ViewerPane::twipsGeometry(const QWidget* control) const
{
    if (!control)
        return {};
    const auto found = twips_.constFind(control);
    if (found != twips_.constEnd())
        return *found;
    const QRect r = control->geometry();
    return {static_cast<float>(PixelsToTwips(r.x())), static_cast<float>(PixelsToTwips(r.y())),
            static_cast<float>(PixelsToTwips(r.width())), static_cast<float>(PixelsToTwips(r.height()))};
}

void ViewerPane::setTwipsGeometry(QWidget* control, const TwipRect& geometry)
{
    if (!control)
        return;
    twips_.insert(control, geometry);
    control->setGeometry(TwipsToPixels(geometry.Left), TwipsToPixels(geometry.Top), TwipsToPixels(geometry.Width),
                         TwipsToPixels(geometry.Height));
    // At once, not at the next resize event, which a hidden window receives only when shown.
    if (control == Picture1)
        Picture1Client->setGeometry(static_cast<QFrame*>(Picture1)->contentsRect());
    else if (control == frmDetails)
        fitValueColumn();
    else if (control == VScroll2 || control == HScroll1)
        pictureArea_->setGeometry(0, 0, std::max(0, VScroll2->x()), std::max(0, HScroll1->y()));
}

void ViewerPane::setTwipsGeometry(QWidget* control, double left, double top, double width, double height)
{
    setTwipsGeometry(control,
                     TwipRect{static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                              static_cast<float>(height)});
}

void ViewerPane::ShowSlot(const QImage& picture, const ViewerDetails& details, int slotElapsed)
{
    // The main window is drawn once, with every change of the Viewer in place.
    WindowDrawingLock lock(this);
    show();
    frmDetails->show();
    liveNatural_.reset();

    imgMain->setStretch(false);
    TwipRect image = twipsGeometry(imgMain);
    image.Width = kInitialImageSize;
    image.Height = kInitialImageSize;
    setTwipsGeometry(imgMain, image);
    // With stretching off the control takes the picture's own size; an empty picture leaves
    // the 10 x 10 twips just set, and the view shows nothing.
    imgMain->setPicture(picture);
    if (!picture.isNull())
        image = takeImageSize();
    naturalWidth = static_cast<int>(std::nearbyint(image.Width));  // ties to even
    naturalHeight = static_cast<int>(std::nearbyint(image.Height));

    ApplyZoom();
    setDetails(details);
    setNextRefresh(NextRefreshText(details.refresh, slotElapsed));
}

void ViewerPane::ApplyZoom()
{
    // The main window is drawn once, with every change of the Viewer in place.
    WindowDrawingLock lock(this);
    imgMain->setStretch(true);

    const TwipRect viewport = twipsGeometry(Picture1);
    double zoom = Slider1->value();
    if (fit_) {
        // The area the picture really shows in (the bars' thickness and the border off), so
        // that nothing of it is cut.
        zoom = FitZoom(naturalWidth, naturalHeight, static_cast<float>(PixelsToTwips(pictureArea_->width())),
                       static_cast<float>(PixelsToTwips(pictureArea_->height())));
        const QScopedValueRollback following(barFollowsFit_, true);
        Slider1->setValue(ZoomBarValueForFit(zoom));
    }
    shownZoom_ = zoom;
    lblZoom->setText(ZoomText(fit_, Slider1->value()));
    // Fit's factor is seldom whole: filtered, an enlarged picture shows no uneven blocks.
    imgMain->setSmoothEnlarging(fit_);

    ZoomInput in;
    in.naturalWidth = naturalWidth;
    in.naturalHeight = naturalHeight;
    in.zoom = zoom;
    in.viewportWidth = viewport.Width;
    in.viewportHeight = viewport.Height;
    in.vbarWidth = twipsGeometry(VScroll2).Width;
    in.hbarHeight = twipsGeometry(HScroll1).Height;
    in.hValue = HScroll1->value();
    in.hMaximum = HScroll1->maximum();
    in.vValue = VScroll2->value();
    in.vMaximum = VScroll2->maximum();
    const ZoomLayout zoomed = ComputeZoom(in);

    TwipRect image = twipsGeometry(imgMain);
    if (zoomed.imageWidth)
        image.Width = *zoomed.imageWidth;
    if (zoomed.imageHeight)
        image.Height = *zoomed.imageHeight;
    setTwipsGeometry(imgMain, image);

    // A smaller maximum clamps the bar's value, whose change handler moves the picture; the
    // edge is set here as well so the picture always sits where its bar says.
    const auto applyAxis = [this](QScrollBar* bar, const ZoomAxis& axis, float TwipRect::*edge) {
        if (axis.enabled) {
            bar->setMaximum(axis.maximum);
            bar->setValue(axis.value);
        }
        bar->setEnabled(axis.enabled);
        TwipRect moved = twipsGeometry(imgMain);
        moved.*edge = axis.position;
        setTwipsGeometry(imgMain, moved);
    };
    if (zoomed.horizontal)
        applyAxis(HScroll1, *zoomed.horizontal, &TwipRect::Left);
    if (zoomed.vertical)
        applyAxis(VScroll2, *zoomed.vertical, &TwipRect::Top);
    // The hand says the picture can be dragged.
    if (HScroll1->isEnabled() || VScroll2->isEnabled())
        pictureArea_->setCursor(dragFrom_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else
        pictureArea_->unsetCursor();
}

void ViewerPane::Slider1_Change()
{
    if (barFollowsFit_)
        return;
    changeFit(false);
    ApplyZoom();
}

void ViewerPane::Slider1_Action()
{
    // A click at the bar's end that cannot move it still means the user chose its step.
    if (fit_) {
        changeFit(false);
        ApplyZoom();
    }
}

void ViewerPane::changeFit(bool on)
{
    cmdFit->setChecked(on);
    if (fit_ == on)
        return;
    fit_ = on;
    Q_EMIT fitChanged(on);
}

void ViewerPane::setFit(bool on)
{
    changeFit(on);
    ApplyZoom();
}

void ViewerPane::stepZoom(int direction)
{
    // Where the keys zoom about: the mouse when it rests on the picture, else the middle.
    const QPoint mouse = QCursor::pos();
    if (QApplication::widgetAt(mouse) == imgMain && isVisible())
        stepZoom(direction, pictureArea_->mapFromGlobal(QPointF(mouse)));
    else
        stepZoom(direction, QPointF(pictureArea_->width(), pictureArea_->height()) / 2);
}

void ViewerPane::stepZoom(int direction, QPointF anchor)
{
    const std::optional<int> step = NextZoomStep(shownZoom_, direction);
    if (!step)
        return;
    WindowDrawingLock lock(this);
    const TwipRect before = twipsGeometry(imgMain);
    changeFit(false);
    {
        // One ApplyZoom, here, rather than the bar's own.
        const QScopedValueRollback following(barFollowsFit_, true);
        Slider1->setValue(*step);
    }
    ApplyZoom();
    const TwipRect after = twipsGeometry(imgMain);
    const auto x = static_cast<float>(PixelsToTwips(1) * anchor.x());
    const auto y = static_cast<float>(PixelsToTwips(1) * anchor.y());
    // A bar that is off leaves the picture at its edge: there is nothing to keep in place.
    if (HScroll1->isEnabled())
        HScroll1->setValue(AnchoredPanValue(before.Left, before.Width, after.Width, x));
    if (VScroll2->isEnabled())
        VScroll2->setValue(AnchoredPanValue(before.Top, before.Height, after.Height, y));
}

void ViewerPane::panBy(double horizontal, double vertical)
{
    const auto move = [](QScrollBar* bar, double twips) {
        if (bar->isEnabled() && twips != 0)
            bar->setValue(static_cast<int>(std::clamp<double>(std::nearbyint(bar->value() + twips), 0, INT_MAX)));
    };
    move(HScroll1, horizontal);
    move(VScroll2, vertical);
}

bool ViewerPane::pictureWheel(const QWheelEvent& wheel, QPointF at)
{
    const QPoint angle = wheel.angleDelta();
    if (wheel.modifiers() & Qt::ControlModifier) {
        // One step a notch; a fine wheel's small turns add up to one.
        wheelZoom_ += angle.y() != 0 ? angle.y() : angle.x();
        while (std::abs(wheelZoom_) >= kWheelNotch) {
            const int direction = wheelZoom_ > 0 ? 1 : -1;
            wheelZoom_ -= direction * kWheelNotch;
            stepZoom(direction, at);
        }
        return true;
    }
    // As a scroll bar takes the wheel: the desktop's lines a notch, each an arrow click. A
    // touchpad that gives pixels moves the picture by them.
    QPointF twips = wheel.pixelDelta().isNull()
        ? QPointF(angle) / kWheelNotch * QApplication::wheelScrollLines() * kPanSmallChange
        : QPointF(wheel.pixelDelta()) * PixelsToTwips(1);
    if (wheel.modifiers() & Qt::ShiftModifier)
        twips = QPointF(twips.y() != 0 ? twips.y() : twips.x(), 0);
    // Turning the wheel away from you shows what lies further down (or right).
    panBy(-twips.x(), -twips.y());
    return true;
}

bool ViewerPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != imgMain && watched != pictureArea_)
        return QGroupBox::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        return pictureWheel(*wheel, widget->mapTo(pictureArea_, wheel->position()));
    }
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::LeftButton)
            break;
        dragFrom_ = press->globalPosition();
        dragH_ = HScroll1->value();
        dragV_ = VScroll2->value();
        if (HScroll1->isEnabled() || VScroll2->isEnabled())
            pictureArea_->setCursor(Qt::ClosedHandCursor);
        return true;
    }
    case QEvent::MouseMove: {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (!dragFrom_ || !(move->buttons() & Qt::LeftButton))
            break;
        // Global positions: the picture moves under the pointer while it is dragged. The
        // picture follows the hand, so the bars go the other way.
        const QPointF moved = (move->globalPosition() - *dragFrom_) * PixelsToTwips(1);
        panBy(dragH_ - moved.x() - HScroll1->value(), dragV_ - moved.y() - VScroll2->value());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() != Qt::LeftButton || !dragFrom_)
            break;
        dragFrom_.reset();
        if (HScroll1->isEnabled() || VScroll2->isEnabled())
            pictureArea_->setCursor(Qt::OpenHandCursor);
        return true;
    }
    default:
        break;
    }
    return QGroupBox::eventFilter(watched, event);
}

void ViewerPane::HScroll1_Change()
{
    TwipRect image = twipsGeometry(imgMain);
    image.Left = -static_cast<float>(HScroll1->value());
    setTwipsGeometry(imgMain, image);
}

void ViewerPane::VScroll2_Change()
{
    TwipRect image = twipsGeometry(imgMain);
    image.Top = -static_cast<float>(VScroll2->value());
    setTwipsGeometry(imgMain, image);
}

void ViewerPane::setPicture(const QImage& picture)
{
    if (picture.isNull())
        return;
    if (liveNatural_) {
        // Back from a saved picture: the live picture's size, as ShowSlot took it.
        WindowDrawingLock lock(this);
        naturalWidth = liveNatural_->first;
        naturalHeight = liveNatural_->second;
        liveNatural_.reset();
        imgMain->setPicture(picture);
        ApplyZoom();
        return;
    }
    imgMain->setPicture(picture);
    if (!imgMain->stretch()) {
        // Not yet zoomed (the hidden Viewer following slot 0 at start): the control took the
        // picture's size, and the twips must say the same.
        takeImageSize();
    }
}

void ViewerPane::showSavedPicture(const QImage& picture)
{
    if (picture.isNull())
        return;
    const auto width = static_cast<int>(std::nearbyint(PixelsToTwips(picture.width())));
    const auto height = static_cast<int>(std::nearbyint(PixelsToTwips(picture.height())));
    if (!liveNatural_ && width == naturalWidth && height == naturalHeight) {
        imgMain->setPicture(picture);
        return;
    }
    WindowDrawingLock lock(this);
    if (!liveNatural_)
        liveNatural_.emplace(naturalWidth, naturalHeight);
    naturalWidth = width;
    naturalHeight = height;
    imgMain->setPicture(picture);
    ApplyZoom();
}

TwipRect ViewerPane::takeImageSize()
{
    TwipRect image = twipsGeometry(imgMain);
    image.Width = static_cast<float>(PixelsToTwips(imgMain->width()));
    image.Height = static_cast<float>(PixelsToTwips(imgMain->height()));
    setTwipsGeometry(imgMain, image);
    return image;
}

void ViewerPane::setDetails(const ViewerDetails& details)
{
    lblName->setText(details.name);
    lblRefresh->setText(details.refresh);
    lblLastChanged->setText(details.lastChanged);
    lblLastRefreshed->setText(details.lastRefreshed);
}

void ViewerPane::setMask(const QList<QRectF>& rectangles)
{
    maskOverlay->setRectangles(rectangles);
}

void ViewerPane::setNextRefresh(const QString& text)
{
    lblNextRefresh->setText(text);
}

void ViewerPane::setStatusLine(const QString& text)
{
    statusText_ = text;
    // A reason may quote a server's text; it must never be read as markup.
    lblStatus->setToolTip(
        Qt::mightBeRichText(text) ? QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>") : text);
    elideStatusLine();
}

void ViewerPane::elideStatusLine()
{
    lblStatus->setText(lblStatus->fontMetrics().elidedText(statusText_, Qt::ElideRight, lblStatus->width()));
}

void ViewerPane::fitValueColumn()
{
    // The clock and the status, the long values, run to the frame's right edge, which follows
    // the window: a health reason or the clock's "(system clock)" shows whole where there is
    // room. Never narrower than designed, and nothing moves. The rows above keep their width:
    // the room beside them is where the main window puts the history bar.
    const float width =
        std::max(kValueWidth, twipsGeometry(frmDetails).Width - kValueLeft - captionExtra_ - kValueRightMargin);
    for (QLabel* value : {lblTime, lblStatus}) {
        TwipRect geometry = twipsGeometry(value);
        geometry.Width = width;
        setTwipsGeometry(value, geometry);
    }
    elideStatusLine();
}

void ViewerPane::HideViewer()
{
    hide();
    frmDetails->hide();
}

void ViewerPane::Command3_Click()
{
    if (form6_) {
        // Already open: bring it forward rather than open a second one.
        form6_->raise();
        form6_->activateWindow();
        return;
    }
    screensaverMode_ = true;
    Q_EMIT screensaverModeChanged(true);
    if (screenSaverSwitch)
        screenSaverSwitch(false);
    form6_ = new Form6(screenSaverSwitch, this);
    connect(form6_, &Form6::unloaded, this, &ViewerPane::Form6_Unload);
    form6_->UpdateFullWindow(imgMain->picture());
    // Full screen rather than maximised: the view stands in for the screen saver, so it
    // covers panels and task bars too, and a maximised borderless window would leave them.
    form6_->showFullScreen();
    form6_->activateWindow();
}

void ViewerPane::Form6_Unload()
{
    form6_ = nullptr;  // the window deletes itself once closed
    screensaverMode_ = false;
    Q_EMIT screensaverModeChanged(false);
}

void ViewerPane::UpdateFullWindow(const QImage& picture)
{
    if (form6_)
        form6_->UpdateFullWindow(picture);
}

void ViewerPane::ShowLiveFrameInFullWindow(const QImage& picture)
{
    if (form6_)
        form6_->ShowLiveFrame(picture);
}

void ViewerPane::ShowFullWindowRefreshIndicator()
{
    if (form6_)
        form6_->ShowRefreshIndicator();
}

void ViewerPane::HideFullWindowRefreshIndicator()
{
    if (form6_)
        form6_->HideRefreshIndicator();
}

bool ViewerPane::FullWindowVisible() const
{
    return form6_ && form6_->isVisible();
}

Form6* ViewerPane::fullWindow() const
{
    return form6_.data();
}
