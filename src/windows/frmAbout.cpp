#include "frmAbout.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QShortcut>

#include "ProductInfo.h"
#include "SecondaryWindows.h"
#include "Utilities.h"

namespace {
QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}
}  // namespace

frmAbout::frmAbout(QWidget* owner) : SecondaryWindow(owner)
{
    LoadProgramResources();
    setObjectName(QStringLiteral("frmAbout"));
    Picture1 = NewLabel(QStringLiteral("Picture1"), QString(), this);
    Picture1->setPixmap(QPixmap(QStringLiteral(":/icons/AAA.png")));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    Label1 = NewLabel(QStringLiteral("Label1"), QStringLiteral("Your Program Name"), this);
    QFont titleFont = Label1->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    lblVersion = NewLabel(QStringLiteral("lblVersion"), QString(), this);
    lblCompany = NewLabel(QStringLiteral("lblCompany"), QString(), this);
    lblWebsite = NewLabel(QStringLiteral("lblWebsite"), QString(), this);
    lblWebsite->setCursor(Qt::PointingHandCursor);
    QFont linkFont = lblWebsite->font();
    linkFont.setUnderline(true);
    lblWebsite->setFont(linkFont);
    QPalette linkPalette = lblWebsite->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    lblWebsite->setPalette(linkPalette);
    lblWebsite->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 24, 16);
    grid->setHorizontalSpacing(12);
    grid->addWidget(Picture1, 0, 0, 4, 1);
    grid->addWidget(Label1, 0, 1, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("lblVersionCaption"), tr("Version:"), this), 1, 1);
    grid->addWidget(lblVersion, 1, 2);
    grid->addWidget(NewLabel(QStringLiteral("lblCompanyCaption"), tr("Owned By:"), this), 2, 1);
    grid->addWidget(lblCompany, 2, 2);
    grid->addWidget(NewLabel(QStringLiteral("lblWebsiteCaption"), tr("Website:"), this), 3, 1);
    grid->addWidget(lblWebsite, 3, 2);
    // Below the designed rows, in a smaller font: the notice the license asks for.
    lblCopyright = NewLabel(QStringLiteral("lblCopyright"), QString(), this);
    QFont noticeFont = lblCopyright->font();
    noticeFont.setPointSizeF(noticeFont.pointSizeF() * 0.85);
    lblCopyright->setFont(noticeFont);
    grid->addWidget(lblCopyright, 4, 1, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // Escape closes the window as it closes any dialog.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(ProductName()));
    Label1->setText(ProductName());
    lblCompany->setText(CompanyName());
    lblVersion->setText(QStringLiteral("%1.%2").arg(VersionMajor()).arg(VersionMinor()));
    lblWebsite->setText(WebAddress());
    lblCopyright->setText(CopyrightNotice() + QLatin1Char('\n') +
                          tr("Free software under the GNU General Public License, version 3 or later.\n"
                             "It comes with no warranty."));
}

void frmAbout::lblWebsite_Click()
{
    // The label is a link: it asks the web-site window to open the address, as the main
    // window's web-site button does, instead of loading a window that opens nothing.
    WebsiteMode() = QStringLiteral("Website");
    ShowWebsite(parentWidget() ? parentWidget() : this);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblWebsite && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblWebsite_Click();
        return true;
    }
    return SecondaryWindow::eventFilter(watched, event);
}
