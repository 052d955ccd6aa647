// tolvane-democam: a farm of demo cams on the loopback interface, for benchmarks and soak tests.
// Runs until it is killed.
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <cstdio>
#include <optional>

#include "DaytimeResponder.h"
#include "DemoCamServer.h"

namespace {
int fail(const QString& message)
{
    std::fprintf(stderr, "tolvane-democam: %s\n", qPrintable(message));
    return 2;
}

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);  // scripts wait for these lines on a pipe
}

// A number from min to max, or nothing.
std::optional<int> numberOption(const QString& text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}
}  // namespace

int main(int argc, char** argv)
{
    // Pictures are drawn with fonts, which need a GUI application, but never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvane-democam"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves demo web cams at http://127.0.0.1:<port>/cam<k>.jpg."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port to listen on (0: any free port)."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption camsOption(QStringLiteral("cams"), QStringLiteral("Number of cams, 1 to 99."),
                                        QStringLiteral("N"), QStringLiteral("24"));
    const QCommandLineOption sizeOption(QStringLiteral("size"),
                                        QStringLiteral("Picture size in pixels, e.g. 640x480 or 1920x1080."),
                                        QStringLiteral("WxH"), QStringLiteral("640x480"));
    const QCommandLineOption everyFetchOption(
        QStringLiteral("every-fetch"), QStringLiteral("A new picture on every fetch (default: every 5 to 20 s)."));
    const QCommandLineOption fixedOption(QStringLiteral("fixed-last-modified"),
                                         QStringLiteral("Pictures change, Last-Modified never does."));
    const QCommandLineOption neverOption(
        QStringLiteral("never-change"),
        QStringLiteral("Each cam serves one picture, with one Last-Modified, for good."));
    const QCommandLineOption smallOption(
        QStringLiteral("small-changes"),
        QStringLiteral("A new picture on every fetch: the one scene, with a small object (1% of it) moved on."));
    const QCommandLineOption photosOption(QStringLiteral("photos"),
                                          QStringLiteral("Photo-like pictures with fine grain, which weigh and decode "
                                                         "like a cam's photographs (default: drawings)."));
    const QCommandLineOption chunkedOption(QStringLiteral("chunked"), QStringLiteral("Chunked transfer coding."));
    const QCommandLineOption daytimeOption(
        QStringLiteral("daytime-port"), QStringLiteral("Also answer daytime queries on this port (0: any free port)."),
        QStringLiteral("P"));
    const QCommandLineOption camListOption(QStringLiteral("write-camlist"),
                                           QStringLiteral("Write the cams into this cam list file."),
                                           QStringLiteral("FILE"));
    const QCommandLineOption refreshOption(QStringLiteral("refresh"),
                                           QStringLiteral("Refresh seconds written into the cam list file."),
                                           QStringLiteral("S"), QStringLiteral("5"));
    parser.addOptions({portOption, camsOption, sizeOption, everyFetchOption, fixedOption, neverOption, smallOption,
                       photosOption, chunkedOption, daytimeOption, camListOption, refreshOption});
    parser.process(app);

    DemoCamServer::Options options;
    options.farmNames = true;
    const auto port = numberOption(parser.value(portOption), 0, 65535);
    const auto cams = numberOption(parser.value(camsOption), 1, 99);
    const auto refresh = numberOption(parser.value(refreshOption), 1, 999);
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
    const QRegularExpressionMatch size = sizePattern.match(parser.value(sizeOption));
    if (!port)
        return fail(QStringLiteral("--port takes a number from 0 to 65535"));
    if (!cams)
        return fail(QStringLiteral("--cams takes a number from 1 to 99"));
    if (!refresh)
        return fail(QStringLiteral("--refresh takes a number of seconds from 1 to 999"));
    if (!size.hasMatch() || size.captured(1).toInt() < 16 || size.captured(2).toInt() < 16 ||
        size.captured(1).toInt() > 7680 || size.captured(2).toInt() > 4320)
        return fail(QStringLiteral("--size takes WIDTHxHEIGHT from 16x16 to 7680x4320, e.g. 1920x1080"));
    if (int(parser.isSet(everyFetchOption)) + int(parser.isSet(fixedOption)) + int(parser.isSet(neverOption)) +
            int(parser.isSet(smallOption)) >
        1)
        return fail(QStringLiteral(
            "--every-fetch, --fixed-last-modified, --never-change and --small-changes exclude each other"));
    options.port = quint16(*port);
    options.camCount = *cams;
    options.pictureSize = QSize(size.captured(1).toInt(), size.captured(2).toInt());
    options.chunked = parser.isSet(chunkedOption);
    options.photos = parser.isSet(photosOption);
    options.changeMode = parser.isSet(everyFetchOption) ? DemoCamServer::ChangeMode::EveryFetch
        : parser.isSet(fixedOption)                     ? DemoCamServer::ChangeMode::FixedLastModified
        : parser.isSet(neverOption)                     ? DemoCamServer::ChangeMode::Never
        : parser.isSet(smallOption)                     ? DemoCamServer::ChangeMode::SmallChanges
                                                        : DemoCamServer::ChangeMode::Periodic;

    DemoCamServer server(options);
    if (!server.start())
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(*port).arg(server.errorString()));
    DaytimeResponder daytime;
    if (parser.isSet(daytimeOption)) {
        const auto daytimePort = numberOption(parser.value(daytimeOption), 0, 65535);
        if (!daytimePort)
            return fail(QStringLiteral("--daytime-port takes a number from 0 to 65535"));
        if (!daytime.start(quint16(*daytimePort)))
            return fail(
                QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(*daytimePort).arg(daytime.errorString()));
    }

    say(QStringLiteral("listening on 127.0.0.1:%1").arg(server.port()));
    if (parser.isSet(daytimeOption))
        say(QStringLiteral("daytime on 127.0.0.1:%1").arg(daytime.port()));
    if (parser.isSet(camListOption)) {
        const QString fileName = parser.value(camListOption);
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(server.camListText(*refresh)) < 0 || !file.commit())
            return fail(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
        say(QStringLiteral("wrote %1 cams to %2").arg(server.camCount()).arg(fileName));
    } else {
        for (int k = 1; k <= server.camCount(); ++k)
            say(server.camUrl(k) + QStringLiteral("  ") + server.camName(k));
    }
    return app.exec();
}
