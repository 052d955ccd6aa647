// Time-lapse export speed: N photo-like full-HD pictures (default 1000, written as JPEG at
// quality 90 like saved pictures, with a little movement between them) made into an H.264
// video; prints pictures per second of the export alone. Target: at least 20 per second.
//     timelapse_bench [--count N] [--width W] [--height H]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

#include "PhotoLikePicture.h"
#include "PictureSetArgs.h"
#include "Timelapse.h"

namespace {
// CPU seconds this process has used, every thread counted.
double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<PictureSetArgs> set = ReadPictureSetArgs(app.arguments(), "timelapse_bench");
    if (!set)
        return 2;
    const int count = set->count, width = set->width, height = set->height;
    QTemporaryDir dir;
    // A handful of distinct scenes, each written many times with grain of its own, so the files
    // decode like photographs and the encoder sees change from frame to frame.
    std::printf("writing %d pictures of %dx%d...\n", count, width, height);
    std::fflush(stdout);
    TimelapseJob job;
    QImage base = MakePhotoLikePicture(width, height, 7);
    for (int k = 0; k < count; ++k) {
        QImage picture = base;
        AddGrain(picture, 6, static_cast<quint32>(k));
        const QString path = dir.filePath(QString("p%1.jpg").arg(k, 5, 10, QChar('0')));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(picture)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        job.files << path;
    }
    job.outFile = dir.filePath("bench.mp4");
    job.fps = 24;
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = ProcessCpuSeconds();
    const TimelapseResult result = MakeTimelapse(job);
    const double seconds = clock.elapsed() / 1000.0;
    const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
    if (result.status != TimelapseStatus::Done) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(result.message));
        return 1;
    }
    std::printf("exported %d pictures of %dx%d in %.1f s: %.1f pictures/s (%lld bytes)\n", result.frames, width, height,
                seconds, result.frames / seconds, static_cast<long long>(QFileInfo(job.outFile).size()));
    // On a machine busy with other work the wall time says little; the CPU time does not grow
    // with the load, and two idle cores give at most twice the pictures per CPU second.
    std::printf("CPU %.1f s: %.1f ms per picture, %.1f pictures per CPU second\n", cpuSeconds,
                1000.0 * cpuSeconds / result.frames, result.frames / cpuSeconds);
    return 0;
}
