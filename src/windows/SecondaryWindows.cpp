#include "SecondaryWindows.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

#include "Form8.h"
#include "frmAbout.h"
#include "frmWebsite.h"

namespace {

constexpr std::chrono::milliseconds kWebsiteCloseDelay{1000};

QPointer<frmAbout>& aboutWindow()
{
    static QPointer<frmAbout> window;
    return window;
}

QPointer<Form8>& helpWindow()
{
    static QPointer<Form8> window;
    return window;
}

QPointer<frmWebsite>& websiteWindow()
{
    static QPointer<frmWebsite> window;
    return window;
}

UrlOpener& urlOpener()
{
    static UrlOpener opener;
    return opener;
}

std::function<void(const QString&)>& openProblemReporter()
{
    static std::function<void(const QString&)> report;
    return report;
}

void ReportNoBrowser(const QUrl& url, const QString& why)
{
    if (openProblemReporter())
        openProblemReporter()(
            QCoreApplication::translate("SecondaryWindows", "Could not open %1: no web browser could be started (%2)")
                .arg(url.toDisplayString(), why));
}

// xdg-open is run as a child so that its exit status says whether a browser took the address:
// it ends with a non-zero status when it finds none. It may stay as long as the browser it
// started; it then outlives the program. Without xdg-open, Qt's own search for a browser is
// all there is, and it tells only whether it found one.
void OpenWithDesktopHandler(const QUrl& url)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            ReportNoBrowser(url, QCoreApplication::translate("SecondaryWindows", "xdg-open was not found"));
        return;
    }
    auto* handler = new QProcess;
    handler->setProgram(xdgOpen);
    handler->setArguments({url.toString(QUrl::FullyEncoded)});
    // The browser inherits these: a pipe to this program would break when the program ends.
    handler->setStandardInputFile(QProcess::nullDevice());
    handler->setStandardOutputFile(QProcess::nullDevice());
    handler->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(handler, &QProcess::errorOccurred, handler, [handler, url](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        ReportNoBrowser(
            url,
            QCoreApplication::translate("SecondaryWindows", "xdg-open could not run: %1").arg(handler->errorString()));
        handler->deleteLater();
    });
    QObject::connect(handler, &QProcess::finished, handler, [handler, url](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            ReportNoBrowser(
                url,
                status == QProcess::NormalExit
                    ? QCoreApplication::translate("SecondaryWindows", "xdg-open ended with status %1").arg(code)
                    : QCoreApplication::translate("SecondaryWindows", "xdg-open stopped"));
        handler->deleteLater();
    });
    handler->start();
}

std::chrono::milliseconds& websiteCloseDelay()
{
    static std::chrono::milliseconds delay = kWebsiteCloseDelay;
    return delay;
}

// Brings a loaded window forward, or makes, loads and shows a new one. load answers whether
// the window is to be shown; a window that is not shown is unloaded again at once.
template <typename Window, typename Load>
Window* LoadOnce(QPointer<Window>& slot, QWidget* owner, Load load, bool besideOwner = false)
{
    if (Window* loaded = LoadedWindow(slot)) {
        loaded->bringForward();
        return loaded;
    }
    auto* window = new Window(owner);
    if (!load(*window)) {
        delete window;
        return nullptr;
    }
    slot = window;
    if (besideOwner)
        window->showBesideOwner();
    else
        window->show();
    return window;
}

}  // namespace

QString& WebsiteMode()
{
    static QString mode;
    return mode;
}

frmAbout* ShowAbout(QWidget* owner)
{
    return LoadOnce(aboutWindow(), owner, [](frmAbout& window) {
        window.Form_Load();
        window.centreOnOwner();
        return true;
    });
}

bool ShowHelp(QWidget* owner)
{
    // A window without its help file would show an empty page: it is not kept, so the next
    // request looks for the file again.
    return LoadOnce(
               helpWindow(), owner, [](Form8& window) { return window.Form_Load(); }, true) != nullptr;
}

frmWebsite* ShowWebsite(QWidget* owner)
{
    return LoadOnce(websiteWindow(), owner, [](frmWebsite& window) {
        window.Form_Load();
        return true;
    });
}

void UnloadSecondaryWindows()
{
    if (frmAbout* window = LoadedAbout())
        window->close();
    if (Form8* window = LoadedHelp())
        window->close();
    if (frmWebsite* window = LoadedWebsite())
        window->close();
}

frmAbout* LoadedAbout()
{
    return LoadedWindow(aboutWindow());
}
Form8* LoadedHelp()
{
    return LoadedWindow(helpWindow());
}
frmWebsite* LoadedWebsite()
{
    return LoadedWindow(websiteWindow());
}

QString AddressWithScheme(const QString& address)
{
    if (address.contains(QLatin1String("https://"), Qt::CaseInsensitive) ||
        address.contains(QLatin1String("http://"), Qt::CaseInsensitive))
        return address;
    return QStringLiteral("http://") + address;
}

void SetUrlOpener(UrlOpener opener)
{
    urlOpener() = std::move(opener);
}

void SetOpenProblemReporter(std::function<void(const QString&)> report)
{
    openProblemReporter() = std::move(report);
}

void OpenAddress(const QString& address)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (urlOpener())
        urlOpener()(url);
    else
        OpenWithDesktopHandler(url);
}

void SetWebsiteCloseDelay(std::chrono::milliseconds delay)
{
    websiteCloseDelay() = delay.count() > 0 ? delay : kWebsiteCloseDelay;
}

std::chrono::milliseconds WebsiteCloseDelay()
{
    return websiteCloseDelay();
}
