// Measures the real main window watching 24 cams of a tolvane-democam farm: pictures handled
// against pictures due, process CPU per picture against the codec alone on the same bodies (a full
// decode and a decode scaled for the thumbnail, and encode when autosave is on), how late a 10 ms
// timer on the user-interface thread fires, how long a response waited for other cams' work, how
// long a click on a thumbnail takes to show the full picture in the Viewer, and peak RSS.
// The wall case shows the cams on View > Wall in a full-screen window instead of the Viewer.
// hd-2s-same serves every cam's one picture over and over under one Last-Modified; run beside
// hd-2s, the table is followed by the CPU per answer of the one against the other.
// hd-2s-content decides newness by the picture's content, with every answer a new picture that
// differs from the last by a small moved object; run beside hd-2s, its CPU per answer is set
// against hd-2s's, with what the grey copy and its comparison cost alone.
//
//   watch_bench [--seconds N] [--quick] [--only NAME[,NAME...]] [--democam PATH] [--folder DIR] [--drawn] [--spread]
//
// The cams are opened together, as `--open` or a selection of several cams opens them, so they
// fetch in step: 24 responses close within moments of each other. --spread opens them one after
// another across one refresh interval instead, as cams added over time are.
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
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/resource.h>
#include <turbojpeg.h>
#include <vector>

#include "DIBSection.h"
#include "DesktopApplication.h"
#include "Form1.h"
#include "GmtClock.h"
#include "HttpResponse.h"
#include "ImageControl.h"
#include "JpegReader.h"
#include "PictureChange.h"
#include "PictureMemory.h"
#include "PictureWork.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"
#include "Prompt.h"
#include "Settings.h"
#include "SlotGrid.h"
#include "ViewerPane.h"
#include "WallView.h"

namespace {

struct Case {
    const char* name;
    QSize size;  // pixels
    int refreshSeconds;
    bool autosave;
    bool wall = false;     // View > Wall, full screen, instead of one cam in the Viewer
    bool same = false;     // every answer is the picture the cam shows, under the same Last-Modified
    bool content = false;  // newPictureRule "content", every answer the scene with a small change
};
constexpr int kCams = 24;
const std::array<Case, 9> kCases = {{
    {"vga-1s", {640, 480}, 1, false},
    {"vga-1s-save", {640, 480}, 1, true},
    {"hd-2s", {1920, 1080}, 2, false},
    {"hd-2s-same", {1920, 1080}, 2, false, false, true},
    {"hd-2s-content", {1920, 1080}, 2, false, false, false, true},
    {"hd-2s-save", {1920, 1080}, 2, true},
    {"hd-2s-wall", {1920, 1080}, 2, false, true},
    {"uhd-5s", {3840, 2160}, 5, false},
    {"uhd-5s-wall", {3840, 2160}, 5, false, true},
}};

// Targets, in the case's terms. Without autosave, CPU per picture against a full decode of the
// same body (most slots are seen as thumbnails only, decoded scaled); with it, against the codec
// work an automatic save must do (full decode, encode, scaled decode of the saved file).
double CpuTarget(const Case& c)
{
    if (c.autosave)
        return 1.1;
    return c.size.width() >= 1920 ? 0.6 : 1.5;
}
double RssTargetMb(const Case& c)
{
    return c.size.width() > 1920 ? 150 : 100;
}
// An answer with the bytes the cam shows already, against one with a new picture, in CPU per answer.
constexpr double kSameAnswerTarget = 0.1;
// What the content rule may add to a new picture's CPU, ms.
constexpr double kContentRuleTargetMs = 0.3;
constexpr double kHoldUpTargetMs = 50;
constexpr double kClickTargetMs = 50;
constexpr int kClicks = 8;

struct Options {
    int seconds = 60;
    bool quick = false;
    QStringList only;
    QString democam;
    QString folder;
    bool drawn = false;
    bool spread = false;
    QString caseName;  // set in a child
};

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The calling thread's CPU time, ms.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double RusageCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU time of the program's codec threads (named "tolvane codec") so far, from the system's
// per-thread accounting; ms.
double CodecThreadsCpuMs()
{
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "tolvane codec" ||
            !schedstat.open(QIODevice::ReadOnly))
            continue;
        total += double(schedstat.readAll().split(' ').value(0).toLongLong()) / 1e6;
    }
    return total;
}

// Page faults that found the page in memory (fresh or given back memory touched again): a cost
// of the system that shows up in CPU time but in no profile of the program's own code.
long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// A line of /proc/self/status in KiB ("VmHWM:", "VmRSS:"); -1 when missing.
long StatusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

// The process's peak resident memory since the last ResetPeakRss (VmHWM), in KiB.
long PeakRssKb()
{
    if (const long peak = StatusKb("VmHWM:"); peak >= 0)
        return peak;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Where the memory is at the end of a run: what the C library's heaps hold in use and free, and
// what the picture memory keeps for reuse; MB.
QString MemoryParts()
{
    QString parts = QStringLiteral("now %1 MB").arg(double(StatusKb("VmRSS:")) / 1024.0, 0, 'f', 0);
#ifdef __GLIBC__
    const struct mallinfo2 heap = mallinfo2();
    parts += QStringLiteral(": heap %1 MB in use and %2 MB free, %3 MB in large blocks of their own")
                 .arg(double(heap.uordblks) / 1048576.0, 0, 'f', 0)
                 .arg(double(heap.fordblks) / 1048576.0, 0, 'f', 0)
                 .arg(double(heap.hblkhd) / 1048576.0, 0, 'f', 0);
#endif
    return parts +
        QStringLiteral(", %1 MB of pictures kept for reuse").arg(double(RecycledPictureBytes()) / 1048576.0, 0, 'f', 0);
}

// Gives the bench's own leftovers back to the system and starts the peak afresh, so that the peak
// is the program's: true when the system allowed it.
bool ResetPeakRss()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
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
                              c.same          ? QStringLiteral("--never-change")
                                  : c.content ? QStringLiteral("--small-changes")
                                              : QStringLiteral("--every-fetch"),
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
    std::vector<double> decode, scaled, encode, reload, grey;
    int pictures = 0;
    int denominator = 1;  // the scale of the scaled decodes, 1/denominator
};

struct CodecCost {
    double decodeMs = 0;
    double scaledMs = 0;  // the same body decoded at the thumbnail's DCT scale
    double encodeMs = 0;
    double reloadMs = 0;  // the saved file decoded at the thumbnail's scale, as the program reloads it
    double greyMs = 0;    // the grey copy of the scaled decode and its comparison with the last one
    int pictures = 0;
    int denominator = 1;
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
    return {Median(samples.decode), Median(samples.scaled), Median(samples.encode), Median(samples.reload),
            Median(samples.grey),   samples.pictures,       samples.denominator};
}

// Decodes into `target` (reallocated only when the size differs) at the smallest DCT scale that
// gives at least `atLeast` (full size when invalid), as the program does; false when it is not a
// JPEG. `denominator`, when given, receives the scale used.
bool DecodeInto(tjhandle decoder, const unsigned char* jpeg, unsigned long size, QImage& target,
                const QSize& atLeast = {}, int* denominator = nullptr)
{
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(decoder, jpeg, size, &width, &height, &subsampling, &colourSpace) != 0)
        return false;
    const int scale = JpegScaleDenominator(QSize(width, height), atLeast);
    if (denominator)
        *denominator = scale;
    const QSize scaled = JpegScaledSize(QSize(width, height), scale);
    if (target.size() != scaled)
        target = QImage(scaled, QImage::Format_RGB32);
    return tjDecompress2(decoder, jpeg, size, target.bits(), scaled.width(), int(target.bytesPerLine()),
                         scaled.height(), TJPF_BGRA, 0) == 0;
}

// Adds `rounds` timings of each operation per body to `samples`; `thumbnail` is the size, in device
// pixels, the program decodes pictures that are seen only as thumbnails for.
void MeasureCodec(const std::vector<QByteArray>& bodies, int rounds, const QSize& thumbnail, CodecSamples& samples)
{
    tjhandle decoder = tjInitDecompress();
    tjhandle encoder = tjInitCompress();
    QImage decoded;
    QImage scaled;
    QImage reloaded;
    GreyCopy last;
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
            before = ProcessCpuMs();
            if (DecodeInto(decoder, bytes, size, scaled, thumbnail, &samples.denominator) && round >= 0)
                samples.scaled.push_back(ProcessCpuMs() - before);
            // What the worker adds to every new picture: its grey copy, compared with the last.
            before = ProcessCpuMs();
            GreyCopy grey = MakeGreyCopy(scaled);
            const bool changed = PictureChanged(last, grey, ChangeRule{});
            if (round >= 0)
                samples.grey.push_back(ProcessCpuMs() - before);
            last = changed ? std::move(grey) : last;
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
            if (DecodeInto(decoder, jpeg, encodedSize, reloaded, thumbnail) && round >= 0)
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

// A click on a thumbnail until the Viewer has drawn the slot's full picture.
struct ClickTimes {
    std::vector<double> wallMs;        // from the click to the end of the Viewer's repaint
    std::vector<double> cpuMs;         // the user-interface thread's CPU in that time
    int fullPictures = 0;              // clicks after which the Viewer held the picture at its own size
    CamPictureQueue::HoldUps holdUps;  // other responses' waits meanwhile
};

// Clicks slots 1, 2, ... in turn (none of them shown before, so each thumbnail holds a scaled
// decode), a while apart so that the cams go on fetching in between.
ClickTimes MeasureClicks(Form1& form, int clicks, int pauseMs)
{
    ClickTimes times;
    form.slotGrid->cams().pictures().measureHoldUps(true);
    for (int k = 1; k <= clicks; ++k) {
        const int index = k % kCams;
        RunFor(pauseMs);
        const qint64 start = SteadyClockNs();
        const double cpuStart = ThreadCpuMs();
        form.slotGrid->imgCam_Click(index);
        form.frmMain->imgMain->repaint();
        times.cpuMs.push_back(ThreadCpuMs() - cpuStart);
        times.wallMs.push_back(double(SteadyClockNs() - start) / 1e6);
        if (form.frmMain->imgMain->picture().size() == form.slotGrid->cam(index).pictureSize() &&
            form.slotGrid->cams().selectedSlot() == index)
            ++times.fullPictures;
    }
    RunFor(pauseMs);
    times.holdUps = form.slotGrid->cams().pictures().holdUps();
    form.slotGrid->cams().pictures().measureHoldUps(false);
    return times;
}

// One case, in this process: prints a report and one "row" line for the parent's table.
int RunCase(const Case& c, const Options& options)
{
    // A farm that never changes draws each cam's one picture at its first request, 24 photographs
    // at once, where the others serve pictures drawn before they listen.
    const int warmupMs = std::max(options.quick ? 8000 : 20000, 4000 * c.refreshSeconds) + (c.same ? 20000 : 0);
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

    SetProgramFolder(home.path());
    SetUserSettingsPath(home.filePath(QStringLiteral("user-settings.ini")));
    AnsweringPrompt prompt;
    SetPrompt(&prompt);
    WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("autoSave"),
                 c.autosave ? QStringLiteral("1") : QStringLiteral("0"));
    WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("showHelp"), QStringLiteral("0"));
    if (c.content)
        WriteSetting(ProductName(), QStringLiteral("Settings"), QStringLiteral("newPictureRule"),
                     QStringLiteral("content"));

    long handled = 0;
    std::array<int, kCams> perSlot{};
    {
        Form1 form;
        form.services.endProgram = [] {};
        form.services.openHelp = [](QWidget*) { return true; };
        form.clock->setTimeServer(QStringLiteral("127.0.0.1:%1").arg(farm.daytimePort));
        QObject::connect(&form.slotGrid->cams(), &WatchedCams::pictureHandled, [&](int index) {
            ++handled;
            ++perSlot[size_t(index)];
        });
        form.Form_Load();
        form.show();
        QCoreApplication::processEvents();
        // The size the program decodes a picture seen only as a thumbnail for (the wall's tiles,
        // larger, are known once the wall is shown).
        const ImageControl* thumbnailControl = form.slotGrid->slot(1).imgCam;
        const qreal ratio = thumbnailControl->devicePixelRatioF();
        QSize thumbnail(int(std::ceil(thumbnailControl->width() * ratio)),
                        int(std::ceil(thumbnailControl->height() * ratio)));
        if (!c.wall)
            MeasureCodec(FetchSampleBodies(farm.port), codecRounds, thumbnail, codecSamples);
        const bool peakReset = ResetPeakRss();
        const long startKb = StatusKb("VmRSS:");

        QStringList names;
        for (int i = 0; i < form.List1->count(); ++i)
            names << form.List1->item(i)->text();
        bool opened = names.size() == kCams;
        if (opened && options.spread) {
            for (const QString& name : names) {
                opened = opened && form.OpenCamsByName({name}).isEmpty();
                RunFor(c.refreshSeconds * 1000 / kCams);
            }
        } else if (opened) {
            opened = form.OpenCamsByName(names).isEmpty();
        }
        if (!opened || form.slotGrid->cams().openCount() != kCams) {
            std::fprintf(stderr, "watch_bench: %lld cams listed, %d open\n", qlonglong(names.size()),
                         form.slotGrid->cams().openCount());
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
        form.slotGrid->cams().pictures().measureHoldUps(true);
        const double cpuBefore = RusageCpuSeconds();
        const double codecBefore = CodecThreadsCpuMs();
        const double uiBefore = ThreadCpuMs();
        const long faultsBefore = MinorFaults();
        QElapsedTimer wall;
        wall.start();
        probe.start();
        RunFor(options.seconds * 1000);
        probe.stop();
        const double seconds = double(wall.nsecsElapsed()) / 1e9;
        const double cpu = RusageCpuSeconds() - cpuBefore;
        const double codecCpuMs = CodecThreadsCpuMs() - codecBefore;
        const double uiCpuMs = ThreadCpuMs() - uiBefore;
        const long faults = MinorFaults() - faultsBefore;
        const long pictures = handled - handledBefore;
        const CamPictureQueue::HoldUps holdUps = form.slotGrid->cams().pictures().holdUps();
        form.slotGrid->cams().pictures().measureHoldUps(false);
        const long runPeakKb = PeakRssKb();
        const QString loadAfter = LoadAverage();
        const int scalings = wallScalings() - scalingsBefore;
        const QSize wallSize = form.wall->size();
        const WallGrid wallGrid = form.wall->grid();
        const int saved = CountFiles(home.filePath(QStringLiteral("cam"))) - savedBefore;
        // The wall's clicks open the full-window view; the Viewer's are measured without it.
        const ClickTimes clicks = c.wall ? ClickTimes{} : MeasureClicks(form, kClicks, 600);
        const long peakKb = PeakRssKb();
        const QString memoryParts = MemoryParts();
        form.slotGrid->cmdStopAll_Click();
        QCoreApplication::processEvents();
        // What the window costs with no answer coming: the bench's own UI probe (a wake-up every
        // 10 ms, a large share of an answer that changes nothing) and the window's timers. The same
        // probe runs while the cams are measured, so this rate is taken off to give what the
        // answers themselves cost.
        RunFor(1000);  // the last answers' work settles
        const int idleMs = std::clamp(options.seconds * 1000 / 4, 3000, 15000);
        UiProbe idleProbe;
        const double idleCpuBefore = RusageCpuSeconds();
        QElapsedTimer idleClock;
        idleClock.start();
        idleProbe.start();
        RunFor(idleMs);
        idleProbe.stop();
        const double idleCpuPerSecond =
            (RusageCpuSeconds() - idleCpuBefore) / std::max(1e-3, double(idleClock.nsecsElapsed()) / 1e9);

        // Half the codec's timings were taken before the cams were opened, half now, so that they
        // cover the same stretch of the machine's day as the run.
        if (c.wall)
            thumbnail = thumbnail.expandedTo(wallGrid.cell);
        MeasureCodec(FetchSampleBodies(farm.port), c.wall ? 2 * codecRounds : codecRounds, thumbnail, codecSamples);
        const CodecCost codec = MedianCost(codecSamples);
        if (codec.pictures == 0) {
            std::fprintf(stderr, "watch_bench: no sample pictures could be fetched and decoded\n");
            return 2;
        }

        const double due = kCams * seconds / c.refreshSeconds;
        const double cpuPerPictureMs = pictures ? cpu * 1e3 / double(pictures) : 0;
        const double netCpuPerPictureMs =
            pictures ? std::max(0.0, cpu - idleCpuPerSecond * seconds) * 1e3 / double(pictures) : 0;
        const auto per = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        const double toFull = per(cpuPerPictureMs, codec.decodeMs);
        const double toScaled = per(cpuPerPictureMs, codec.scaledMs);
        const double toSave = per(cpuPerPictureMs, codec.decodeMs + codec.encodeMs + codec.reloadMs);
        const double p50 = Percentile(probe.lateMs, 0.50), p99 = Percentile(probe.lateMs, 0.99);
        const double lateMax = probe.lateMs.empty() ? 0 : *std::max_element(probe.lateMs.begin(), probe.lateMs.end());
        const double heldUpMs = double(holdUps.longestNs) / 1e6;
        const double clickMax =
            clicks.wallMs.empty() ? 0 : *std::max_element(clicks.wallMs.begin(), clicks.wallMs.end());
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
        if (pictures) {
            std::printf("                    of which the codec threads %.2f ms, the user-interface thread %.2f ms, "
                        "Qt's and the system's other threads %.2f ms\n",
                        codecCpuMs / double(pictures), uiCpuMs / double(pictures),
                        cpuPerPictureMs - (codecCpuMs + uiCpuMs) / double(pictures));
        }
        std::printf("  net of the idle   %.2f ms per picture (the window with every cam stopped and the UI probe "
                    "on used %.1f ms of CPU a second)\n",
                    netCpuPerPictureMs, idleCpuPerSecond * 1e3);
        std::printf("  codec alone       full decode %.2f ms, decode at 1/%d for %dx%d %.2f ms, encode %.2f ms, "
                    "decode of the saved file at 1/%d %.2f ms, grey copy and comparison %.3f ms (%d sample "
                    "pictures)\n",
                    codec.decodeMs, codec.denominator, thumbnail.width(), thumbnail.height(), codec.scaledMs,
                    codec.encodeMs, codec.denominator, codec.reloadMs, codec.greyMs, codec.pictures);
        if (c.autosave) {
            std::printf("  ratio             %.2f x (full decode + encode + scaled decode of the saved file) "
                        "(target <= %.1f)%s\n",
                        toSave, CpuTarget(c), mark(toSave <= CpuTarget(c)));
            std::printf("                    %.2f x (full decode + encode)\n",
                        per(cpuPerPictureMs, codec.decodeMs + codec.encodeMs));
        } else {
            std::printf("  ratio             %.2f x full decode (target <= %.1f)%s; %.2f x scaled decode\n", toFull,
                        CpuTarget(c), mark(toFull <= CpuTarget(c)), toScaled);
        }
        const auto over = [&](double ms) {
            return std::count_if(probe.lateMs.begin(), probe.lateMs.end(), [ms](double late) { return late > ms; });
        };
        std::printf("  UI probe late     p50 %.1f ms, p99 %.1f ms, max %.1f ms (%zu probes, %td over 50 ms, %td over "
                    "150 ms)%s\n",
                    p50, p99, lateMax, probe.lateMs.size(), over(50), over(150), mark(p99 <= 50 && lateMax <= 150));
        std::printf("  held up by another cam  at most %.1f ms (slot %d; %lld responses; longest in the codec queue "
                    "%.1f ms, longest for the UI thread %.1f ms)%s\n",
                    heldUpMs, holdUps.longestSlot, qlonglong(holdUps.responses), double(holdUps.longestInQueueNs) / 1e6,
                    double(holdUps.longestForUiNs) / 1e6, mark(heldUpMs <= kHoldUpTargetMs));
        if (!clicks.wallMs.empty()) {
            std::printf("  click to full picture  median %.1f ms, max %.1f ms (UI thread CPU median %.1f ms, max %.1f "
                        "ms; %d of %zu clicks showed the full picture)%s\n",
                        Median(clicks.wallMs), clickMax, Median(clicks.cpuMs),
                        *std::max_element(clicks.cpuMs.begin(), clicks.cpuMs.end()), clicks.fullPictures,
                        clicks.wallMs.size(),
                        mark(clickMax <= kClickTargetMs && clicks.fullPictures == int(clicks.wallMs.size())));
            std::printf("  held up while clicking  at most %.1f ms (slot %d; %lld responses; in the codec queue %.1f "
                        "ms, for the UI thread %.1f ms)\n",
                        double(clicks.holdUps.longestNs) / 1e6, clicks.holdUps.longestSlot,
                        qlonglong(clicks.holdUps.responses), double(clicks.holdUps.longestInQueueNs) / 1e6,
                        double(clicks.holdUps.longestForUiNs) / 1e6);
        }
        std::printf("  peak RSS          %.0f MB watching, %.0f MB with the clicks (this process, which runs the "
                    "window; the farm is another)%s%s\n",
                    double(runPeakKb) / 1024.0, double(peakKb) / 1024.0, mark(peakKb <= RssTargetMb(c) * 1024),
                    peakReset ? "" : " (peak not reset: includes the codec's samples)");
        std::printf("                    %.0f MB before the cams opened; after the clicks %s\n",
                    double(startKb) / 1024.0, qPrintable(memoryParts));
        std::printf(
            "row\t%s\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.0f\t%.3f\t%.3f\n",
            c.name, pictures / seconds, due / seconds, cpuPerPictureMs, codec.decodeMs, codec.scaledMs, codec.encodeMs,
            c.autosave ? codec.reloadMs : 0.0, c.autosave ? toSave : toFull, p50, p99, lateMax, heldUpMs, clickMax,
            double(peakKb) / 1024.0, codec.greyMs, netCpuPerPictureMs);
        std::fflush(stdout);
    }
    SetPrompt(nullptr);
    return 0;
}

// Runs each case in a child process and gathers their rows into one table.
int RunAll(const Options& options, const QString& self)
{
    std::printf("watch_bench: %d cams per case, %d s each%s; farm %s with %s pictures; cams opened %s\n", kCams,
                options.seconds, options.quick ? " (quick)" : "", qPrintable(options.democam),
                options.drawn ? "drawn" : "photo-like",
                options.spread ? "one after another across a refresh interval" : "together");
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
        if (options.spread)
            args << QStringLiteral("--spread");
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
    std::printf("\n%-12s %7s %7s %7s %7s %7s %7s %7s %6s %7s %7s %7s %7s %7s %7s\n", "case", "pics/s", "due/s",
                "cpu ms", "full", "scaled", "encode", "reload", "ratio", "p50 ms", "p99 ms", "max ms", "held", "click",
                "RSS MB");
    for (const QString& row : rows) {
        const QStringList f = row.split(QLatin1Char('\t'));
        if (f.size() < 15)
            continue;
        std::printf("%-12s", qPrintable(f[0]));
        for (int i = 1; i < 15; ++i)
            std::printf(i == 8 ? " %6s" : " %7s", qPrintable(f[i]));
        std::printf("\n");
    }
    std::printf("ratio: CPU per picture / full decode (autosave off), / (full decode + encode + scaled reload) "
                "(autosave on); held: held up by another cam, ms; click: click to full picture, slowest, ms\n");
    // What an answer that changes nothing costs against a new picture, both measured in this run.
    const auto fieldOf = [&rows](const char* name, int field) -> std::optional<double> {
        for (const QString& row : rows) {
            const QStringList f = row.split(QLatin1Char('\t'));
            if (f.size() > field && f[0] == QLatin1String(name))
                return f[field].toDouble();
        }
        return std::nullopt;
    };
    const auto cpuOf = [&fieldOf](const char* name) { return fieldOf(name, 3); };
    const std::optional<double> same = cpuOf("hd-2s-same"), changed = cpuOf("hd-2s");
    const std::optional<double> sameNet = fieldOf("hd-2s-same", 16), changedNet = fieldOf("hd-2s", 16);
    if (same && changed && *changed > 0) {
        std::printf("identical answers: hd-2s-same %.2f ms of CPU per answer against hd-2s %.2f ms: %.2f x, "
                    "the idle window included\n",
                    *same, *changed, *same / *changed);
    }
    if (sameNet && changedNet && *changedNet > 0) {
        // The target is on what the answers cost: the bench's own probe and the idle window are
        // neither's.
        const double ratio = *sameNet / *changedNet;
        std::printf("identical answers, net of the idle window: %.2f ms against %.2f ms: %.2f x (target <= %.1f)%s\n",
                    *sameNet, *changedNet, ratio, kSameAnswerTarget,
                    ratio <= kSameAnswerTarget ? "" : "  <-- target missed");
    }
    // The content rule's cost: the whole answer against the Last-Modified rule's (the farms' pictures
    // differ, so the difference has their noise in it), and its own work measured alone.
    const std::optional<double> content = cpuOf("hd-2s-content"), grey = fieldOf("hd-2s-content", 15);
    if (content && changed && grey) {
        std::printf("content rule: hd-2s-content %.2f ms of CPU per answer against hd-2s %.2f ms: %+.2f ms; the grey "
                    "copy and its comparison alone %.3f ms (target <= %.1f ms)%s\n",
                    *content, *changed, *content - *changed, *grey, kContentRuleTargetMs,
                    *grey <= kContentRuleTargetMs ? "" : "  <-- target missed");
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
        } else if (arg == QLatin1String("--spread")) {
            options.spread = true;
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
                         "[--folder DIR] [--drawn] [--spread]\ncases:");
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
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (child && (platform.isEmpty() || platform == "offscreen")) {
        // A full-HD screen, so that the maximised window shows as many panels as a wall display
        // (the offscreen platform's own screen is 800 x 800, which shows fewer).
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
