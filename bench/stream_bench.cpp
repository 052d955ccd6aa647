// Stream cams: from the refresh to the still shown, and the processor time each still costs,
// side by side with `ffmpeg -rtsp_transport tcp -i URL -frames:v 1` on the same stream, in one run.
// The stream is GStreamer's RTSP server (the tests' own, through /usr/bin/python3), 320x240 at
// 10 frames a second, a keyframe every `--keyframe-frames` frames (20: every 2 s).
//
//     stream_bench [--rounds 5] [--keyframe-frames 20] [--fresh]
//
// A camera's stream is always running, and a still joins it anywhere in its keyframe interval.
// So the server runs as a camera does (RtspTestServer::setLive: its clients share one stream, which
// a new client does not restart), one more client (ffmpeg, to a null output) holds that stream
// open throughout, and each still starts after a random part of the interval. `--fresh` runs the
// server as the tests do, with no holder: every still then starts the stream anew and its first
// frame is a keyframe, which gives the latency without the wait for a keyframe.
//
// ffmpeg is a new process for each still, and its processor time includes starting the process
// (loading and initialising its libraries) that the program, already running at a refresh, does
// not pay; so ffmpeg's start alone (`ffmpeg -version`) is measured in the same run and the ratio
// is printed both against ffmpeg's whole time and against its time less that start.
//
// The target: the latency at most the keyframe interval plus 0.5 s; the processor time per still
// at most 1.2 times ffmpeg's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

#include "RtspTestServer.h"
#include "WatchedCams.h"

namespace {
double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

double Max(const QList<double>& values)
{
    return values.isEmpty() ? 0 : *std::max_element(values.begin(), values.end());
}

// Runs ffmpeg to its end; its processor time (it is the only child that ends meanwhile), or a
// negative number when it failed.
double FfmpegCpu(const QStringList& arguments, double* wallSeconds)
{
    QProcess ffmpeg;
    const double childBefore = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer clock;
    clock.start();
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "stream_bench: ffmpeg %s failed: %s\n", qPrintable(arguments.join(QLatin1Char(' '))),
                     ffmpeg.readAllStandardError().constData());
        return -1;
    }
    if (wallSeconds)
        *wallSeconds = clock.elapsed() / 1000.0;
    return CpuSeconds(RUSAGE_CHILDREN) - childBefore;
}

int Option(const QStringList& arguments, const QString& name, int fallback)
{
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int rounds = Option(app.arguments(), QStringLiteral("--rounds"), 5);
    const int keyframeFrames = Option(app.arguments(), QStringLiteral("--keyframe-frames"), 20);
    QTemporaryDir folder;
    RtspTestServer rtsp(folder.path());
    rtsp.setKeyframeInterval(keyframeFrames);
    const bool fresh = app.arguments().contains(QStringLiteral("--fresh"));
    rtsp.setLive(!fresh);
    if (!rtsp.start()) {
        std::fprintf(stderr, "stream_bench: %s\n", qPrintable(rtsp.problem()));
        return 1;
    }
    const QString url = rtsp.url();
    const int intervalMs = keyframeFrames * 100;
    // The holder: a client that keeps the one stream running, so that every still joins it.
    QProcess holder;
    if (!fresh) {
        holder.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-rtsp_transport"),
                      QStringLiteral("tcp"), QStringLiteral("-i"), url, QStringLiteral("-f"), QStringLiteral("null"),
                      QStringLiteral("-")});
        if (!holder.waitForStarted(5000) || holder.waitForFinished(3000)) {
            std::fprintf(stderr, "stream_bench: the holding client stopped: %s\n",
                         holder.readAllStandardError().constData());
            return 1;
        }
    }
    WatchedCams cams;
    WatchedCam& cam = cams.cam(0);
    QList<double> ourSeconds, ourCpu, ffmpegSeconds, ffmpegCpu, startCpu;
    std::printf("keyframe interval %.1f s, %d rounds, %s\n", intervalMs / 1000.0, rounds,
                fresh ? "each still starts the stream anew (--fresh)"
                      : "each still joins the running stream at a random point, as with a camera");
    std::printf("%-6s %14s %12s %14s %12s %14s\n", "round", "tolvane wall", "tolvane cpu", "ffmpeg wall", "ffmpeg cpu",
                "ffmpeg start");
    const QStringList grab{QStringLiteral("-loglevel"),
                           QStringLiteral("error"),
                           QStringLiteral("-rtsp_transport"),
                           QStringLiteral("tcp"),
                           QStringLiteral("-i"),
                           url,
                           QStringLiteral("-frames:v"),
                           QStringLiteral("1"),
                           QStringLiteral("-y"),
                           folder.filePath(QStringLiteral("out.jpg"))};
    for (int round = 1; round <= rounds; ++round) {
        if (!fresh)
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(intervalMs)));
        QSignalSpy shown(&cam, &WatchedCam::pictureShown);
        QElapsedTimer clock;
        const double cpuBefore = CpuSeconds(RUSAGE_SELF);
        clock.start();
        cam.open(QStringLiteral("Bench"), url, QStringLiteral("60"));
        if (!QTest::qWaitFor([&] { return !shown.isEmpty(); }, 20000)) {
            std::fprintf(stderr, "stream_bench: no still: %s\n", qPrintable(cam.healthSummary()));
            return 1;
        }
        ourSeconds << clock.elapsed() / 1000.0;
        ourCpu << CpuSeconds(RUSAGE_SELF) - cpuBefore;
        cam.cmdStop_Click();

        if (!fresh)
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(intervalMs)));
        double wall = 0;
        const double cpu = FfmpegCpu(grab, &wall);
        const double start = FfmpegCpu({QStringLiteral("-hide_banner"), QStringLiteral("-version")}, nullptr);
        if (cpu < 0 || start < 0)
            return 1;
        ffmpegSeconds << wall;
        ffmpegCpu << cpu;
        startCpu << start;
        std::printf("%-6d %12.2f s %10.3f s %12.2f s %10.3f s %12.3f s\n", round, ourSeconds.last(), ourCpu.last(),
                    ffmpegSeconds.last(), ffmpegCpu.last(), startCpu.last());
    }
    if (!fresh) {
        holder.kill();
        holder.waitForFinished(5000);
    }
    std::printf("median %12.2f s %10.3f s %12.2f s %10.3f s %12.3f s\n", Median(ourSeconds), Median(ourCpu),
                Median(ffmpegSeconds), Median(ffmpegCpu), Median(startCpu));
    std::printf("max    %12.2f s %10.3f s %12.2f s %10.3f s %12.3f s\n", Max(ourSeconds), Max(ourCpu),
                Max(ffmpegSeconds), Max(ffmpegCpu), Max(startCpu));
    const double target = intervalMs / 1000.0 + 0.5;
    std::printf("refresh to shown: median %.2f s, slowest %.2f s (target at most %.1f s)%s\n", Median(ourSeconds),
                Max(ourSeconds), target, Max(ourSeconds) > target ? "  <-- target missed" : "");
    const double whole = Median(ffmpegCpu);
    const double lessStart = Median(ffmpegCpu) - Median(startCpu);
    const double ratio = whole > 0 ? Median(ourCpu) / whole : 0;
    const double fairRatio = lessStart > 0 ? Median(ourCpu) / lessStart : 0;
    std::printf("cpu per still: %.2f x ffmpeg's whole run, %.2f x ffmpeg's run less its start (target at most 1.2)%s\n",
                ratio, fairRatio, lessStart <= 0 || fairRatio > 1.2 ? "  <-- target missed" : "");
    return 0;
}
