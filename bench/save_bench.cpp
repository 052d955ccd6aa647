// Measures the cost of saving one picture: CreateFromPicture + SaveDibAsJpeg at quality 90,
// against the floor (the same pixels turned into BGR rows and encoded with tjCompress2 straight
// into a file) and against QImage::save at quality 90. Prints medians in milliseconds.
//
//   save_bench [--runs N] [--folder DIR] [--replace]
//
// Each save writes a new file, as the program does (its pictures are named by cam and second);
// with --replace every save replaces the file of the one before, which the program does only for
// two saves of a cam within a second, and then flushes the new file to the disk before renaming
// it. The folder defaults to a fresh one in the system's temporary folder; it should lie on the
// disk the pictures will go to.
#include "DIBSection.h"
#include "JpegWriter.h"
#include "PhotoLikePicture.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <turbojpeg.h>
#include <vector>

namespace {
double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Milliseconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs the contenders in turn, `runs` rounds after two warm-up rounds (code paged in, encoder
// tables built, allocator settled), so that a busy machine slows them alike; medians per contender.
std::vector<double> InterleavedMedians(int runs, const std::vector<std::function<void()>>& contenders)
{
    std::vector<std::vector<double>> times(contenders.size());
    for (int round = -2; round < runs; ++round) {
        for (std::size_t i = 0; i < contenders.size(); ++i) {
            const double ms = Milliseconds(contenders[i]);
            if (round >= 0)
                times[i].push_back(ms);
        }
    }
    std::vector<double> medians;
    for (const auto& each : times)
        medians.push_back(Median(each));
    return medians;
}

// The floor's conversion, built for the processor's byte shuffles as the program's is.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "ssse3", "default")))
#endif
void ToBgrRows(const QImage& picture, uchar* out)
{
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = static_cast<uchar>(qBlue(line[x]));
            out[1] = static_cast<uchar>(qGreen(line[x]));
            out[2] = static_cast<uchar>(qRed(line[x]));
        }
    }
}

// The floor: one reused BGR buffer, one reused encoder, rows top-down without padding.
class DirectEncoder {
public:
    explicit DirectEncoder(const QImage& picture)
        : picture_(picture), bgr_(static_cast<std::size_t>(picture.width()) * 3 * picture.height()),
          handle_(tjInitCompress())
    {
    }
    ~DirectEncoder() { tjDestroy(handle_); }
    bool Save(const QString& fileName)
    {
        const int width = picture_.width();
        ToBgrRows(picture_, bgr_.data());
        unsigned char* jpeg = nullptr;
        unsigned long size = 0;
        const bool encoded = tjCompress2(handle_, bgr_.data(), width, width * 3, picture_.height(), TJPF_BGR, &jpeg,
                                         &size, TJSAMP_420, 90, 0) == 0;
        QFile file(fileName);
        const bool written = encoded && file.open(QIODevice::WriteOnly) &&
            file.write(reinterpret_cast<const char*>(jpeg), static_cast<qint64>(size)) == static_cast<qint64>(size);
        tjFree(jpeg);
        return written;
    }

private:
    const QImage& picture_;
    std::vector<uchar> bgr_;
    tjhandle handle_;
};
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 31;
    QString folderPath;
    bool replace = false;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--replace")
            replace = true;
        else if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == "--folder" && i + 1 < args.size())
            folderPath = args[++i];
    }
    QTemporaryDir temporary;
    if (folderPath.isEmpty())
        folderPath = temporary.path();
    std::printf("save_bench: median of %d runs, files in %s, %s\n", runs, qPrintable(folderPath),
                replace ? "each save replacing the last" : "a new file each save");
    std::printf("%-10s %9s %9s %9s %9s %6s %6s\n", "size", "a ms", "b ms", "c ms", "a-dib ms", "a/b", "a/c");

    bool allSaved = true;
    for (const QSize size : {QSize(640, 480), QSize(1920, 1080)}) {
        QImage picture = MakePhotoLikePicture(size.width(), size.height(), 2007);
        AddGrain(picture, 16, 2007);
        int saves = 0;
        QStringList written;
        const auto next = [&](const char* contender) {
            written << folderPath +
                    QStringLiteral("/%1-%2.jpg").arg(QLatin1String(contender)).arg(replace ? 0 : saves++);
            return written.constLast();
        };
        DirectEncoder direct(picture);
        const std::vector<double> medians =
            InterleavedMedians(runs,
                               {[&] {
                                    cDIBSection dib;
                                    dib.CreateFromPicture(picture);
                                    SaveDibAsJpeg(dib, next("a"), 90);
                                },
                                [&] { allSaved = direct.Save(next("b")) && allSaved; },
                                [&] { allSaved = picture.save(next("c"), "JPEG", 90) && allSaved; },
                                [&] {
                                    cDIBSection dib;
                                    dib.CreateFromPicture(picture);
                                }});
        for (const QString& file : written)
            QFile::remove(file);
        const double ours = medians[0], floor = medians[1], qt = medians[2], dibOnly = medians[3];
        std::printf("%4dx%-5d %9.2f %9.2f %9.2f %9.2f %6.2f %6.2f\n", size.width(), size.height(), ours, floor, qt,
                    dibOnly, ours / floor, ours / qt);
    }
    std::printf("a: CreateFromPicture + SaveDibAsJpeg (q90, 4:2:0; a replaced file is flushed to disk first); b: BGR "
                "rows + tjCompress2 + write; c: QImage::save q90; a-dib: CreateFromPicture alone\n");
    return allSaved ? 0 : 1;
}
