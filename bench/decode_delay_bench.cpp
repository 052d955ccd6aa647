// How long one slow or refused picture holds up another cam's picture. Pictures are decoded on
// the codec threads in the order their responses closed; the worst case for a good cam is that
// its response closes just after another cam's. This puts each kind of "other" body and then a
// good cam's picture on the worker together (`--threads 1` as the program had it once, one
// picture at a time), and prints how much later the good picture is ready than it would be alone
// (median of the runs), next to the other body's own time.
//
//   decode_delay_bench [--runs N] [--threads N]
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "PictureBombs.h"
#include "PictureWork.h"
#include "TestPictures.h"

namespace {

struct Kind {
    const char* name;
    QByteArray body;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

const char* StatusText(PictureStatus status)
{
    switch (status) {
    case PictureStatus::Decoded:
        return "decoded";
    case PictureStatus::TooLarge:
        return "too large";
    case PictureStatus::NotAPicture:
        return "not a picture";
    }
    return "?";
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);  // the JPEG encoder of the test pictures needs Qt's plugins
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs per kind (default 7)."),
                                  QStringLiteral("N"), QStringLiteral("7"));
    parser.addOption(runsOption);
    QCommandLineOption threadsOption(
        QStringLiteral("threads"),
        QStringLiteral("Codec threads (default the program's, %1).").arg(PictureWorker::kThreads), QStringLiteral("N"),
        QString::number(PictureWorker::kThreads));
    parser.addOption(threadsOption);
    parser.process(app);
    const int runs = std::max(1, parser.value(runsOption).toInt());
    const int threads = std::clamp(parser.value(threadsOption).toInt(), 1, 16);

    const QSize k8K(7680, 4320), kHuge(30000, 30000);
    const QByteArray good = MakeTestJpeg(QSize(640, 480));
    const QByteArray png8K = ZeroRowsPng(k8K);
    const std::vector<Kind> kinds = {
        {"nothing before it", {}},
        {"8K JPEG (decoded)", MakeTestJpeg(k8K)},
        {"8K PNG of zero rows (decoded)", png8K},
        {"PNG 30000x30000 of zero rows", ZeroRowsPng(kHuge)},
        {"GIF screen 30000x30000", GifWithOnePixelFrame(kHuge)},
        {"BMP header 30000x30000", BmpHeader(kHuge)},
        {"JPEG claiming 30000x30000", JpegClaiming(kHuge)},
        {"8K PNG cut in half", png8K.left(png8K.size() / 2)},
        {"GIF 8K screen, one-pixel frame", GifWithOnePixelFrame(k8K)},
        {"JPEG claiming 8K", JpegClaiming(k8K)},
    };

    PictureWorker worker([] {}, {}, threads);
    std::printf("%d codec thread(s)\n", threads);
    std::printf("%-34s %-14s %12s %14s\n", "other cam's body", "its outcome", "its time ms", "good delay ms");
    double alone = 0;
    for (const Kind& kind : kinds) {
        std::vector<double> delays, own;
        PictureStatus status = PictureStatus::NotAPicture;
        for (int run = 0; run < runs; ++run) {
            auto other = std::make_shared<PictureWork>();
            other->body = kind.body;
            auto mine = std::make_shared<PictureWork>();
            mine->body = good;
            // Each item's own finishing time counts, not when this thread got round to it: with
            // two codec threads the good picture can be ready long before the other one is.
            const qint64 queued = SteadyClockNs();
            other->closedNs = queued;
            mine->closedNs = queued;
            if (!kind.body.isEmpty())
                worker.submit(other);
            worker.submit(mine);
            // Waiting moves an item to the front; the other body came first anyway.
            if (!kind.body.isEmpty()) {
                worker.waitFor(*other);
                own.push_back(double(other->finishedNs - queued) / 1e6);
                status = other->pictureStatus;
            }
            worker.waitFor(*mine);
            delays.push_back(double(mine->finishedNs - queued) / 1e6);
        }
        const double total = Median(delays);
        if (kind.body.isEmpty()) {
            alone = total;
            std::printf("%-34s %-14s %12s %14.1f  (the good picture's own decode)\n", kind.name, "-", "-", total);
            continue;
        }
        std::printf("%-34s %-14s %12.1f %14.1f\n", kind.name, StatusText(status), Median(own), total - alone);
    }
    return 0;
}
