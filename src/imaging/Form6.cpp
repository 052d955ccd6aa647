#include "Form6.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

#include "ImageControl.h"

Form6::Form6(std::function<bool(bool)> screenSaverSwitch, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), screenSaverSwitch_(std::move(screenSaverSwitch))
{
    setObjectName(QStringLiteral("Form6"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);  // so Escape reaches it
    // Black behind the picture: before the first picture and around nothing else, like a
    // screen saver.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = new ImageControl(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setStretch(true);
    connect(Image1, &ImageControl::clicked, this, &Form6::Image1_Click);

    picrefresh = new QLabel(this);
    picrefresh->setObjectName(QStringLiteral("picrefresh"));
    picrefresh->setPixmap(QPixmap(QStringLiteral(":/pictures/refresh.png")));
    picrefresh->adjustSize();
    picrefresh->move(8, 8);  // pixels: a corner, where it hides the least of the picture
    picrefresh->hide();

    Form_Load();
}

Form6::~Form6()
{
    // Deleted without a close (the main window going away): the screen saver must not stay
    // off after the view is gone.
    if (!unloaded_ && screenSaverSwitch_)
        screenSaverSwitch_(true);
}

void Form6::Form_Load()
{
    Form_Resize();
}

void Form6::Form_Resize()
{
    // As large as the window allows in the picture's own shape, centred on black, as the wall
    // shows it: stretched over the window, a 4:3 picture on a 16:9 screen was drawn out of
    // shape. Before the first picture the control covers the window.
    Image1->setGeometry(FullWindowPictureRect(Image1->picture().size(), size()));
}

QRect FullWindowPictureRect(const QSize& picture, const QSize& window)
{
    if (picture.isEmpty() || window.isEmpty())
        return QRect(QPoint(0, 0), window);
    const QSize fitted = picture.scaled(window, Qt::KeepAspectRatio);
    return QRect(QPoint((window.width() - fitted.width()) / 2, (window.height() - fitted.height()) / 2), fitted);
}

void Form6::UpdateFullWindow(const QImage& picture)
{
    picrefresh->hide();
    ShowLiveFrame(picture);
}

void Form6::ShowLiveFrame(const QImage& picture)
{
    Image1->setStretch(true);
    if (!picture.isNull()) {
        Image1->setPicture(picture);
        Form_Resize();  // a picture of another shape gets bars of its own
    }
}

void Form6::ShowRefreshIndicator()
{
    picrefresh->show();
    picrefresh->raise();
}

void Form6::HideRefreshIndicator()
{
    picrefresh->hide();
}

void Form6::Image1_Click()
{
    close();
}

void Form6::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (screenSaverSwitch_)
        screenSaverSwitch_(true);
    Q_EMIT unloaded();
}

void Form6::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form6::mouseReleaseEvent(QMouseEvent* event)
{
    // A click on the black bars beside the picture ends the view as a click on it does (the
    // picture's own click comes here too once it has closed the view).
    if (event->button() == Qt::LeftButton && !unloaded_) {
        close();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void Form6::keyPressEvent(QKeyEvent* event)
{
    // The window has no title bar and covers the screen: Escape is the keyboard's way out.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form6::closeEvent(QCloseEvent* event)
{
    // Every way out ends the view the same way a click does.
    Form_Unload();
    event->accept();
}
