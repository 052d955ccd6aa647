#include "frmWebsite.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ProductInfo.h"
#include "SecondaryWindows.h"

frmWebsite::frmWebsite(QWidget* owner) : SecondaryWindow(owner)
{
    setObjectName(QStringLiteral("frmWebsite"));
    setWindowTitle(ProductName());
    // The browser is about to come up; this window must not take the focus from the user's work.
    setAttribute(Qt::WA_ShowWithoutActivating);
    lblAddress = new QLabel(this);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblAddress);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(WebsiteCloseDelay());
    connect(Timer1, &QTimer::timeout, this, &frmWebsite::Timer1_Timer);
    Timer1->start();  // runs from the moment the window is loaded, whatever the load does
}

void frmWebsite::Form_Load()
{
    if (WebsiteMode() != QLatin1String("Website"))
        return;
    openedAddress_ = AddressWithScheme(WebAddress());
    lblAddress->setText(openedAddress_);
    OpenAddress(openedAddress_);
    WebsiteMode().clear();
}

void frmWebsite::Timer1_Timer()
{
    close();
}
