// History stepping: N photo-like saved pictures of one cam (default 1000 of 1920×1080, JPEG at
// quality 90 like saved pictures) in a fresh program folder and index; the history bar steps
// through every one of them into the Viewer pane, and each step is timed from the step to the
// end of the pane's repaint. Prints the median, 95th percentile and slowest step, in wall time
// and in this thread's CPU time (which a machine busy with other work does not inflate).
// Target: every step within 50 ms at 1080p.
//     history_step_bench [--count N] [--width W] [--height H]
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "HistoryBar.h"
#include "PhotoLikePicture.h"
#include "PictureIndex.h"
#include "PictureSetArgs.h"
#include "ProgramFolder.h"
#include "ViewerPane.h"

namespace {
double ThreadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The value below which this share of the sorted figures lies.
double Percentile(const std::vector<double>& sorted, double share)
{
    return sorted[std::min(sorted.size() - 1, static_cast<size_t>(share * static_cast<double>(sorted.size())))];
}
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::optional<PictureSetArgs> set = ReadPictureSetArgs(app.arguments(), "history_step_bench");
    if (!set)
        return 2;
    const int count = set->count, width = set->width, height = set->height;

    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    QDir().mkpath(CamFolderPath());
    std::printf("writing %d pictures of %dx%d...\n", count, width, height);
    std::fflush(stdout);
    // A few scenes with grain of their own, so every file decodes like a photograph.
    QList<PictureRecord> records;
    const QDateTime first = QDateTime::currentDateTime().addSecs(-count * 60LL);
    for (int k = 0; k < count; ++k) {
        QImage picture = MakePhotoLikePicture(width, height, static_cast<quint32>(k % 5));
        AddGrain(picture, 6, static_cast<quint32>(k));
        PictureRecord record;
        record.cam = QStringLiteral("Harbour");
        record.file = QStringLiteral("Harbour%1.jpg").arg(k, 6, 10, QChar('0'));
        record.taken = first.addSecs(k * 60LL);
        record.width = width;
        record.height = height;
        const QString path = CamFolderPath() + QLatin1Char('/') + record.file;
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        if (!writer.write(picture)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        record.bytes = QFileInfo(path).size();
        records << record;
    }
    {
        PictureIndex index;
        if (!index.open() || !index.addMissing(records)) {
            std::fprintf(stderr, "index: %s\n", qPrintable(index.errorText()));
            return 1;
        }
    }

    // The Viewer's pane at the size it has in a maximised main window, and its history bar.
    ViewerPane pane;
    pane.resize(1280, 900);
    pane.show();
    HistoryBar bar;
    QObject::connect(&bar, &HistoryBar::pictureChosen, &pane, &ViewerPane::setPicture);
    QString problem;
    QObject::connect(&bar, &HistoryBar::problem, [&problem](const QString& text) { problem = text; });
    bar.showCam(QStringLiteral("Harbour"));
    if (bar.pictureCount() != count) {
        std::fprintf(stderr, "the history bar lists %d pictures, not %d\n", bar.pictureCount(), count);
        return 1;
    }
    app.processEvents();

    std::vector<double> steps, cpu;
    steps.reserve(static_cast<size_t>(count));
    cpu.reserve(static_cast<size_t>(count));
    QElapsedTimer clock;
    for (int k = 0; k < count; ++k) {
        clock.start();
        const double cpuStart = ThreadCpuMilliseconds();
        bar.stepTo(k);
        pane.repaint();
        cpu.push_back(ThreadCpuMilliseconds() - cpuStart);
        steps.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        app.processEvents();
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "step %d: %s\n", k, qPrintable(problem));
            return 1;
        }
    }
    std::sort(steps.begin(), steps.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%d steps at %dx%d: median %.1f ms, p95 %.1f ms, slowest %.1f ms\n", count, width, height,
                Percentile(steps, 0.5), Percentile(steps, 0.95), steps.back());
    std::printf("CPU per step: median %.1f ms, p95 %.1f ms, slowest %.1f ms\n", Percentile(cpu, 0.5),
                Percentile(cpu, 0.95), cpu.back());
    return 0;
}
