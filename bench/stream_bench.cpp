// Stream cams: from the refresh to the still shown, and the processor time each still costs,
// side by side with `ffmpeg -rtsp_transport tcp -i URL -frames:v 1` on the same stream, in one run.
// The stream is GStreamer's RTSP server (the tests' own, through /usr/bin/python3), 320x240 at
// 10 frames a second, a keyframe every `--keyframe-frames` frames (20: every 2 s).
//
//     stream_bench [--rounds 5] [--keyframe-frames 20]
//
// The target: the latency at most the keyframe interval plus 0.5 s; the processor time per still
// at most 1.2 times ffmpeg's.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
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
    if (!rtsp.start()) {
        std::fprintf(stderr, "stream_bench: %s\n", qPrintable(rtsp.problem()));
        return 1;
    }
    const QString url = rtsp.url();
    WatchedCams cams;
    WatchedCam& cam = cams.cam(0);
    QList<double> ourSeconds, ourCpu, ffmpegSeconds, ffmpegCpu;
    std::printf("keyframe interval %.1f s, %d rounds\n", keyframeFrames / 10.0, rounds);
    std::printf("%-6s %14s %12s %14s %12s\n", "round", "tolvane wall", "tolvane cpu", "ffmpeg wall", "ffmpeg cpu");
    for (int round = 1; round <= rounds; ++round) {
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

        QProcess ffmpeg;
        const double childBefore = CpuSeconds(RUSAGE_CHILDREN);
        clock.restart();
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-rtsp_transport"),
                      QStringLiteral("tcp"), QStringLiteral("-i"), url, QStringLiteral("-frames:v"),
                      QStringLiteral("1"), QStringLiteral("-y"), folder.filePath(QStringLiteral("out.jpg"))});
        if (!ffmpeg.waitForFinished(30000) || ffmpeg.exitCode() != 0) {
            std::fprintf(stderr, "stream_bench: ffmpeg failed: %s\n", ffmpeg.readAllStandardError().constData());
            return 1;
        }
        ffmpegSeconds << clock.elapsed() / 1000.0;
        ffmpegCpu << CpuSeconds(RUSAGE_CHILDREN) - childBefore;
        std::printf("%-6d %12.2f s %10.3f s %12.2f s %10.3f s\n", round, ourSeconds.last(), ourCpu.last(),
                    ffmpegSeconds.last(), ffmpegCpu.last());
    }
    const double ratio = Median(ffmpegCpu) > 0 ? Median(ourCpu) / Median(ffmpegCpu) : 0;
    std::printf("median %12.2f s %10.3f s %12.2f s %10.3f s\n", Median(ourSeconds), Median(ourCpu),
                Median(ffmpegSeconds), Median(ffmpegCpu));
    std::printf("refresh to shown: %.2f s (target at most %.1f s); cpu per still: %.2f x ffmpeg (target at most 1.2)\n",
                Median(ourSeconds), keyframeFrames / 10.0 + 0.5, ratio);
    return 0;
}
