// Measures the real main window watching 24 cams of a tolvane-democam farm: pictures handled
// against pictures due, process CPU per picture against the codec alone (decode, and encode
// when autosave is on), how late a 10 ms timer on the user-interface thread fires, and peak RSS.
// The wall case shows the cams on View > Wall in a full-screen window instead of the Viewer.
//
//   watch_bench [--seconds N] [--quick] [--only NAME[,NAME...]] [--democam PATH] [--folder DIR] [--drawn]
//
// The farm serves photo-like pictures (a full-HD one weighs about 300 KB, as a cam's photograph
// does); --drawn serves its flat drawings instead, which decode several times faster and so
// leave the per-picture cost beside the codec's looking larger.
//
// Each case runs in a child process of its own (this program with --case NAME), so that its
// peak RSS and CPU are its own; the farm is a further process, so its work is not counted.
// --folder names where the program folder (and so the saved pictures) goes: the disk matters,
// since every save reaches the disk before it takes its name.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <turbojpeg.h>
#include <vector>

#include "DIBSection.h"
#include "DesktopApplication.h"
#include "Form1.h"
#include "GmtClock.h"
#include "HttpResponse.h"
#include "PictureMemory.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Prompt.h"
#include "Settings.h"
#include "SlotGrid.h"
#include "WallView.h"

namespace {

struct Case {
    const char* name;
    QSize size;  // pixels
    int refreshSeconds;
    bool autosave;
    bool wall = false;  // View > Wall, full screen, instead of one cam in the Viewer
};
constexpr int kCams = 24;
const std::array<Case, 5> kCases = {{
    {"vga-1s", {640, 480}, 1, false},
    {"vga-1s-save", {640, 480}, 1, true},
    {"hd-2s", {1920, 1080}, 2, false},
    {"hd-2s-save", {1920, 1080}, 2, true},
    {"hd-2s-wall", {1920, 1080}, 2, false, true},
}};

struct Options {
    int seconds = 60;
    bool quick = false;
    QStringList only;
    QString democam;
    QString folder;
    bool drawn = false;
    QString caseName;  // set in a child
};

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double RusageCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Page faults that found the page in memory (fresh or given back memory touched again): a cost
// of the system that shows up in CPU time but in no profile of the program's own code.
long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

long PeakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 2);
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto at = std::min(values.size() - 1, static_cast<std::size_t>(fraction * double(values.size())));
    return values[at];
}

// Runs the event loop until `done` holds or `milliseconds` have passed; true when it holds.
bool RunUntil(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void RunFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// A 10 ms single-shot timer on the user-interface thread, re-armed each time it fires: how late
// it fires is how long the thread was busy with something else.
class UiProbe : public QObject {
public:
    static constexpr int kIntervalMs = 10;
    UiProbe()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.nsecsElapsed();
            lateMs.push_back(double(now - dueNs_) / 1e6);
            arm(now);
        });
    }
    void start()
    {
        clock_.start();
        arm(0);
    }
    void stop() { timer_.stop(); }
    std::vector<double> lateMs;

private:
    void arm(qint64 now)
    {
        dueNs_ = now + kIntervalMs * 1000000LL;
        timer_.start(kIntervalMs);
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 dueNs_ = 0;
};

// The cam farm as a child process; it writes the cam list straight into the program folder.
class Farm {
public:
    ~Farm()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QString start(const QString& program, const Case& c, const QString& camListFile, bool photos)
    {
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.setReadChannel(QProcess::StandardOutput);
        QStringList arguments{QStringLiteral("--port"),
                              QStringLiteral("0"),
                              QStringLiteral("--cams"),
                              QString::number(kCams),
                              QStringLiteral("--size"),
                              QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height()),
                              QStringLiteral("--every-fetch"),
                              QStringLiteral("--daytime-port"),
                              QStringLiteral("0"),
                              QStringLiteral("--write-camlist"),
                              camListFile,
                              QStringLiteral("--refresh"),
                              QString::number(c.refreshSeconds)};
        if (photos)
            arguments << QStringLiteral("--photos");
        process_.start(program, arguments);
        if (!process_.waitForStarted(10000))
            return QStringLiteral("%1 did not start: %2").arg(program, process_.errorString());
        static const QRegularExpression listening(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)"));
        static const QRegularExpression daytime(QStringLiteral("^daytime on 127\\.0\\.0\\.1:(\\d+)"));
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000) {
            if (!process_.canReadLine() && !process_.waitForReadyRead(1000)) {
                if (process_.state() == QProcess::NotRunning)
                    return QStringLiteral("the farm ended: %1")
                        .arg(QString::fromLocal8Bit(process_.readAllStandardError()));
                continue;
            }
            while (process_.canReadLine()) {
                const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
                if (const auto m = listening.match(line); m.hasMatch())
                    port = quint16(m.captured(1).toUInt());
                else if (const auto d = daytime.match(line); d.hasMatch())
                    daytimePort = quint16(d.captured(1).toUInt());
                else if (line.startsWith(QLatin1String("wrote ")))
                    return port && daytimePort ? QString() : QStringLiteral("the farm named no ports");
            }
        }
        return QStringLiteral("the farm did not report its ports within 30 s");
    }
    quint16 port = 0;
    quint16 daytimePort = 0;

private:
    QProcess process_;
};

class AnsweringPrompt : public Prompt {
public:
    PromptAnswer ask(const QString&, const QString& text, PromptButtons, QWidget*) override
    {
        std::fprintf(stderr, "watch_bench: message box: %s\n", qPrintable(text));
        return PromptAnswer::Ok;
    }
};

// One body of cam k, fetched the way a slot does (blocking: nothing else runs by now).
QByteArray FetchBody(quint16 port, int k)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(
        QStringLiteral("GET /cam%1.jpg HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nAccept: */*\r\n\r\n")
            .arg(k)
            .toLatin1());
    HttpResponseAssembler response;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000)) {
        const QByteArray bytes = socket.readAll();
        response.append(bytes, bytes.size());
    }
    const QByteArray rest = socket.readAll();
    response.append(rest, rest.size());
    const auto finished = response.finish();
    return finished.isImage ? finished.body : QByteArray();
}

// The codec alone on the bodies the farm serves, in process CPU milliseconds per picture: libjpeg-
// turbo decoding into 32-bit pixels (what the slots' pictures are), encoding as a save does (BGR
// rows in place, quality 90, 4:2:0), and decoding that result again (an automatic save loads the
// saved file back). All in memory already in use, after a round that is not counted, so the
// figures are the codec's own and not the system's cost of fresh memory. Each operation is timed
// on its own and the median taken: on a shared machine a mean follows its neighbours' bursts.
struct CodecSamples {
    std::vector<double> decode, encode, reload;
    int pictures = 0;
};

struct CodecCost {
    double decodeMs = 0;
    double encodeMs = 0;
    double reloadMs = 0;
    int pictures = 0;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

CodecCost MedianCost(const CodecSamples& samples)
{
    return {Median(samples.decode), Median(samples.encode), Median(samples.reload), samples.pictures};
}

// Decodes into `target` (reallocated only when the size differs); false when it is not a JPEG.
bool DecodeInto(tjhandle decoder, const unsigned char* jpeg, unsigned long size, QImage& target)
{
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(decoder, jpeg, size, &width, &height, &subsampling, &colourSpace) != 0)
        return false;
    if (target.size() != QSize(width, height))
        target = QImage(width, height, QImage::Format_RGB32);
    return tjDecompress2(decoder, jpeg, size, target.bits(), width, int(target.bytesPerLine()), height, TJPF_BGRA, 0) ==
        0;
}

// Adds `rounds` timings of each operation per body to `samples`.
void MeasureCodec(const std::vector<QByteArray>& bodies, int rounds, CodecSamples& samples)
{
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    QImage decoded;
    QImage reloaded;
    for (const QByteArray& body : bodies) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(body.constData());
        const auto size = static_cast<unsigned long>(body.size());
        if (!DecodeInto(decoder, bytes, size, decoded))
            continue;
        ++samples.pictures;
        cDIBSection dib;
        dib.CreateFromPicture(decoded);
        const unsigned long capacity = tjBufSize(dib.Width(), dib.Height(), TJSAMP_420);
        unsigned char* jpeg = tjAlloc(int(capacity));
        for (int round = -1; round < rounds; ++round) {
            double before = ProcessCpuMs();
            const bool read = DecodeInto(decoder, bytes, size, decoded);
            if (round >= 0 && read)
                samples.decode.push_back(ProcessCpuMs() - before);
            unsigned long encodedSize = capacity;
            before = ProcessCpuMs();
            const int status =
                tjCompress2(encoder, dib.DIBSectionBitsPtr(), dib.Width(), dib.BytesPerScanLine(), dib.Height(),
                            TJPF_BGR, &jpeg, &encodedSize, TJSAMP_420, 90, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC);
            if (status != 0)
                continue;
            if (round >= 0)
                samples.encode.push_back(ProcessCpuMs() - before);
            before = ProcessCpuMs();
            if (DecodeInto(decoder, jpeg, encodedSize, reloaded) && round >= 0)
                samples.reload.push_back(ProcessCpuMs() - before);
        }
        tjFree(jpeg);
    }
    tjDestroy(encoder);
    tjDestroy(decoder);
}

std::vector<QByteArray> FetchSampleBodies(quint16 port)
{
    std::vector<QByteArray> bodies;
    for (int k = 1; k <= 6; ++k) {
        if (const QByteArray body = FetchBody(port, k); !body.isEmpty())
            bodies.push_back(body);
    }
    return bodies;
}

int CountFiles(const QString& folder)
{
    return int(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot).size());
}

// One case, in this process: prints a report and one "row" line for the parent's table.
int RunCase(const Case& c, const Options& options)
{
    const int warmupMs = options.quick ? 8000 : 20000;
    const QString base = options.folder.isEmpty() ? QDir::tempPath() : options.folder;
    QTemporaryDir home(base + QStringLiteral("/watch_bench-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "watch_bench: no folder in %s\n", qPrintable(base));
        return 2;
    }
    Farm farm;
    if (const QString problem =
            farm.start(options.democam, c, home.filePath(QStringLiteral("00camlist.txt")), !options.drawn);
        !problem.isEmpty()) {
        std::fprintf(stderr, "watch_bench: %s\n", qPrintable(problem));
        return 2;
    }
    const int codecRounds = options.quick ? 3 : 10;
    CodecSamples codecSamples;
    MeasureCodec(FetchSampleBodies(farm.port), codecRounds, codecSamples);

    SetProgramFolder(home.path());
    SetUserSettingsPath(home.filePath(QStringLiteral("user-settings.ini")));
    AnsweringPrompt prompt;
    SetPrompt(&prompt);
    WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("autoSave"),
                 c.autosave ? QStringLiteral("1") : QStringLiteral("0"));
    WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));

    long handled = 0;
    std::array<int, kCams> perSlot{};
    {
        Form1 form;
        form.services.endProgram = [] {};
        form.services.openHelp = [](QWidget*) { return true; };
        form.clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(farm.daytimePort));
        QObject::connect(form.slotGrid, &SlotGrid::pictureHandled, [&](int index) {
            ++handled;
            ++perSlot[size_t(index)];
        });
        form.Form_Load();
        form.show();
        QStringList names;
        for (int i = 0; i < form.List1->count(); ++i)
            names << form.List1->item(i)->text();
        if (names.size() != kCams || !form.OpenCamsByName(names).isEmpty() || form.slotGrid->openCount() != kCams) {
            std::fprintf(stderr, "watch_bench: %lld cams listed, %d open\n", qlonglong(names.size()),
                         form.slotGrid->openCount());
            return 2;
        }
        if (c.wall) {
            // The kiosk: the wall fills the 1920 x 1080 screen.
            form.showFullScreen();
            form.setWallShown(true);
        } else {
            form.ShowSlotInViewer(0);  // someone is watching one cam large, as on a wall display
        }
        // Two pictures a slot: the second is the first new one, so with autosave the save path is warm.
        if (!RunUntil([&] { return std::all_of(perSlot.begin(), perSlot.end(), [](int n) { return n >= 2; }); },
                      warmupMs)) {
            std::fprintf(stderr, "watch_bench: the cams did not all show two pictures within %d s\n", warmupMs / 1000);
            return 2;
        }

        const auto wallScalings = [&] {
            int total = 0;
            for (int i = 0; i < kCams; ++i)
                total += form.wall->tile(i)->scalings();
            return total;
        };
        const int scalingsBefore = wallScalings();
        const QString loadBefore = LoadAverage();
        const long handledBefore = handled;
        const int savedBefore = CountFiles(home.filePath(QStringLiteral("cam")));
        UiProbe probe;
        const double cpuBefore = RusageCpuSeconds();
        const long faultsBefore = MinorFaults();
        QElapsedTimer wall;
        wall.start();
        probe.start();
        RunFor(options.seconds * 1000);
        probe.stop();
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        const double cpu = RusageCpuSeconds() - cpuBefore;
        const long faults = MinorFaults() - faultsBefore;
        const long pictures = handled - handledBefore;
        const long peakKb = PeakRssKb();
        const QString loadAfter = LoadAverage();
        const int scalings = wallScalings() - scalingsBefore;
        const QSize wallSize = form.wall->size();
        const WallGrid wallGrid = form.wall->grid();
        form.slotGrid->cmdStopAll_Click();
        QCoreApplication::processEvents();
        const int saved = CountFiles(home.filePath(QStringLiteral("cam"))) - savedBefore;

        // Half the codec's timings were taken before the cams were opened, half now, so that they
        // cover the same stretch of the machine's day as the run.
        MeasureCodec(FetchSampleBodies(farm.port), codecRounds, codecSamples);
        const CodecCost codec = MedianCost(codecSamples);
        if (codec.pictures == 0) {
            std::fprintf(stderr, "watch_bench: no sample pictures could be fetched and decoded\n");
            return 2;
        }

        const double due = kCams * seconds / c.refreshSeconds;
        const double cpuPerPictureMs = pictures ? cpu * 1e3 / double(pictures) : 0;
        const double codecMs = codec.decodeMs + (c.autosave ? codec.encodeMs : 0);
        const double ratio = codecMs > 0 ? cpuPerPictureMs / codecMs : 0;
        const double ratioTarget = c.autosave ? 1.3 : 1.5;
        // With autosave the saved file is loaded back into the thumbnail, a second decode the
        // program cannot leave out; against all the codec work it must do, the rest is its own.
        const double requiredMs = codecMs + (c.autosave ? codec.reloadMs : 0);
        const double overheadRatio = requiredMs > 0 ? cpuPerPictureMs / requiredMs : 0;
        const double p50 = Percentile(probe.lateMs, 0.50), p99 = Percentile(probe.lateMs, 0.99);
        const double lateMax = probe.lateMs.empty() ? 0 : *std::max_element(probe.lateMs.begin(), probe.lateMs.end());
        const auto mark = [](bool met) { return met ? "" : "  <-- target missed"; };

        std::printf("%s: %d cams %dx%d, refresh %d s, autosave %s%s; %.1f s measured; load average %s -> %s\n", c.name,
                    kCams, c.size.width(), c.size.height(), c.refreshSeconds, c.autosave ? "on" : "off",
                    c.wall ? ", on the wall" : "", seconds, qPrintable(loadBefore), qPrintable(loadAfter));
        std::printf("  pictures handled  %ld of %.0f due (%.2f/s of %.2f/s)%s\n", pictures, due, pictures / seconds,
                    due / seconds,
                    mark(double(pictures) >= std::floor(due) - kCams));  // the cams tick together: one tick's edge
        if (c.autosave)
            std::printf("  files saved       %d\n", saved);
        if (c.wall)
            std::printf("  wall              %dx%d pixels, %d x %d tiles of %dx%d; %d pictures scaled for tiles\n",
                        wallSize.width(), wallSize.height(), wallGrid.columns, wallGrid.rows, wallGrid.cell.width(),
                        wallGrid.cell.height(), scalings);
        std::printf("  CPU per picture   %.2f ms (process CPU %.2f s; %.0f page faults a picture)\n", cpuPerPictureMs,
                    cpu, pictures ? double(faults) / double(pictures) : 0.0);
        std::printf("  codec alone       decode %.2f ms, encode %.2f ms, decode of the saved file %.2f ms (%d sample "
                    "pictures)\n",
                    codec.decodeMs, codec.encodeMs, codec.reloadMs, codec.pictures);
        std::printf("  ratio             %.2f x %s (target <= %.1f)%s\n", ratio,
                    c.autosave ? "(decode + encode)" : "decode", ratioTarget, mark(ratio <= ratioTarget));
        if (c.autosave)
            std::printf("                    %.2f x (decode + encode + decode of the saved file)\n", overheadRatio);
        const auto over = [&](double ms) {
            return std::count_if(probe.lateMs.begin(), probe.lateMs.end(), [ms](double late) { return late > ms; });
        };
        std::printf("  UI probe late     p50 %.1f ms, p99 %.1f ms, max %.1f ms (%zu probes, %td over 50 ms, %td over "
                    "150 ms)%s\n",
                    p50, p99, lateMax, probe.lateMs.size(), over(50), over(150), mark(p99 <= 50 && lateMax <= 150));
        std::printf("  peak RSS          %.0f MB%s\n", double(peakKb) / 1024.0, mark(peakKb <= 300 * 1024));
        std::printf("row\t%s\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.1f\t%.1f\t%.1f\t%.0f\t%.2f\t%.2f\n", c.name,
                    pictures / seconds, due / seconds, cpuPerPictureMs, codec.decodeMs, codec.encodeMs, ratio, p50, p99,
                    lateMax, double(peakKb) / 1024.0, c.autosave ? codec.reloadMs : 0.0, overheadRatio);
        std::fflush(stdout);
    }
    SetPrompt(nullptr);
    return 0;
}

// Runs each case in a child process and gathers their rows into one table.
int RunAll(const Options& options, const QString& self)
{
    std::printf("watch_bench: %d cams per case, %d s each%s; farm %s with %s pictures\n", kCams, options.seconds,
                options.quick ? " (quick)" : "", qPrintable(options.democam), options.drawn ? "drawn" : "photo-like");
    std::fflush(stdout);
    QStringList rows;
    int failures = 0;
    for (const Case& c : kCases) {
        if (!options.only.isEmpty() && !options.only.contains(QLatin1String(c.name)))
            continue;
        QStringList args = {QStringLiteral("--case"),         QLatin1String(c.name),       QStringLiteral("--seconds"),
                            QString::number(options.seconds), QStringLiteral("--democam"), options.democam};
        if (options.quick)
            args << QStringLiteral("--quick");
        if (options.drawn)
            args << QStringLiteral("--drawn");
        if (!options.folder.isEmpty())
            args << QStringLiteral("--folder") << options.folder;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(self, args);
        child.waitForFinished(-1);
        const QStringList lines = QString::fromLocal8Bit(child.readAllStandardOutput()).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("row\t")))
                rows << line.mid(4);
            else if (!line.isEmpty())
                std::printf("%s\n", qPrintable(line));
        }
        std::fflush(stdout);
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
            std::printf("%s: failed (exit %d)\n", c.name, child.exitCode());
            ++failures;
        }
    }
    std::printf("\n%-12s %8s %8s %9s %9s %9s %6s %8s %8s %8s %8s %9s %7s\n", "case", "pics/s", "due/s", "cpu ms",
                "decode", "encode", "ratio", "p50 ms", "p99 ms", "max ms", "RSS MB", "reload", "ratio2");
    for (const QString& row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        if (f.size() < 13)
            continue;
        std::printf("%-12s %8s %8s %9s %9s %9s %6s %8s %8s %8s %8s %9s %7s\n", qPrintable(f[0]), qPrintable(f[1]),
                    qPrintable(f[2]), qPrintable(f[3]), qPrintable(f[4]), qPrintable(f[5]), qPrintable(f[6]),
                    qPrintable(f[7]), qPrintable(f[8]), qPrintable(f[9]), qPrintable(f[10]), qPrintable(f[11]),
                    qPrintable(f[12]));
    }
    return failures ? 1 : 0;
}

Options ParseOptions(const QStringList& args, const QString& binFolder)
{
    Options options;
    options.democam = binFolder + QStringLiteral("/tolvane-democam");
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        if (arg == QLatin1String("--drawn")) {
            options.drawn = true;
        } else if (arg == QLatin1String("--quick")) {
            options.quick = true;
            options.seconds = std::min(options.seconds, 8);
        } else if (arg == QLatin1String("--seconds") && !value.isEmpty()) {
            options.seconds = std::max(1, value.toInt());
            ++i;
        } else if (arg == QLatin1String("--only") && !value.isEmpty()) {
            options.only = value.split(QLatin1Char(','));
            ++i;
        } else if (arg == QLatin1String("--democam") && !value.isEmpty()) {
            options.democam = value;
            ++i;
        } else if (arg == QLatin1String("--folder") && !value.isEmpty()) {
            options.folder = value;
            ++i;
        } else if (arg == QLatin1String("--case") && !value.isEmpty()) {
            options.caseName = value;
            ++i;
        } else {
            std::fprintf(stderr,
                         "usage: watch_bench [--seconds N] [--quick] [--only NAME[,NAME]] [--democam PATH] "
                         "[--folder DIR] [--drawn]\ncases:");
            for (const Case& c : kCases)
                std::fprintf(stderr, " %s", c.name);
            std::fprintf(stderr, "\n");
            std::exit(2);
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    KeepFreedMemoryForReuse();  // as the program does at start-up
    bool child = false;
    for (int i = 1; i < argc; ++i)
        child = child || QByteArrayView(argv[i]) == "--case";
    QTemporaryDir screenFolder;
    if (child && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // A full-HD screen, so that the maximised window shows as many panels as a wall display.
        const QString config = screenFolder.filePath(QStringLiteral("screen.json"));
        QFile file(config);
        if (file.open(QIODevice::WriteOnly))
            file.write(R"({"screens":[{"name":"wall","x":0,"y":0,"width":1920,"height":1080,)"
                       R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    }
    // The parent only starts children and gathers their rows: it needs no window system.
    const std::unique_ptr<QCoreApplication> app =
        child ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    if (child)
        InitDesktopApplication();
    else
        InitApplicationMetadata();
    const Options options = ParseOptions(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    if (!child)
        return RunAll(options, QCoreApplication::applicationFilePath());
    for (const Case& c : kCases) {
        if (options.caseName == QLatin1String(c.name))
            return RunCase(c, options);
    }
    std::fprintf(stderr, "watch_bench: no case named %s\n", qPrintable(options.caseName));
    return 2;
}
