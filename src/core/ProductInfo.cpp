#include "ProductInfo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QVariant>

void InitApplicationMetadata()
{
    QCoreApplication::setApplicationName(QStringLiteral(TOLVANE_PRODUCT_NAME));
    QCoreApplication::setOrganizationName(QStringLiteral(TOLVANE_COMPANY_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
    if (auto* app = QCoreApplication::instance())
        app->setProperty("webAddress", QStringLiteral(TOLVANE_WEB_ADDRESS));
}

QString DesktopEntryId()
{
    return QStringLiteral(TOLVANE_APP_ID);
}

QString ProductName()
{
    return QCoreApplication::applicationName();
}
QString CompanyName()
{
    return QCoreApplication::organizationName();
}

QString WebAddress()
{
    if (auto* app = QCoreApplication::instance())
        return app->property("webAddress").toString();
    return QStringLiteral(TOLVANE_WEB_ADDRESS);
}

QString VersionText()
{
    return QCoreApplication::applicationVersion();
}
QString CopyrightNotice()
{
    return QStringLiteral("Copyright \u00a9 " TOLVANE_COPYRIGHT_YEARS " ") + CompanyName();
}

int VersionMajor()
{
    return VersionText().section(QLatin1Char('.'), 0, 0).toInt();
}
int VersionMinor()
{
    return VersionText().section(QLatin1Char('.'), 1, 1).toInt();
}

QString ExecutableName()
{
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("tolvane") : QFileInfo(path).completeBaseName();
}
