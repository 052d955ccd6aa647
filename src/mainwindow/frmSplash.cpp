#include "frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "Form1.h"
#include "SlotGrid.h"

frmSplash::frmSplash(StartOptions options, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), options_(std::move(options))
{
    setObjectName(QStringLiteral("frmSplash"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgSplash"));
    const QPixmap pixmap(QStringLiteral(":/pictures/splash.png"));
    picture->setPixmap(pixmap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    resize(pixmap.isNull() ? QSize(400, 300) : pixmap.deviceIndependentSize().toSize());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(2);
    connect(Timer2, &QTimer::timeout, this, &frmSplash::Timer2_Timer);
    Timer2->start();
}

frmSplash::~frmSplash() = default;

void frmSplash::Timer2_Timer()
{
    splashTicks = static_cast<std::int16_t>(splashTicks + 2);
    if (splashTicks != 150)
        return;
    Timer2->stop();
    if (loader_)
        loader_();
    else
        loadMainWindow();
    hide();
    Q_EMIT mainWindowShown();
}

void frmSplash::loadMainWindow()
{
    mainWindow_ = std::make_unique<Form1>();
    mainWindow_->Form_Load();
    QStringList missing, withoutPanel;
    mainWindow_->StartSession(options_, &missing, &withoutPanel);
    for (const QString& name : missing)
        std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                     qPrintable(tr("no cam named \"%1\" in the cam list").arg(name)));
    if (!withoutPanel.isEmpty())
        std::fprintf(
            stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
            qPrintable(
                tr("%1 (not opened: %2)").arg(SlotGrid::panelsFullText(), withoutPanel.join(QStringLiteral(", ")))));
}
