#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "ProductInfo.h"

void FuzzFail(const char* file, int line, const char* what, const QString& detail)
{
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\n  %s\n", file, line, what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

namespace {
// Qt's warnings about damaged input (a settings value of an unknown type, say) are expected
// here by the million and would bury libFuzzer's own lines; fatal messages still end the run.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(message));
        std::abort();
    }
}
}  // namespace

void StartFuzzApplication(FuzzApp kind)
{
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(QuietMessages);
    // The application keeps argc by reference and argv for its whole life.
    static int argc = 1;
    static char name[] = "tolvane-fuzz";
    static char* argv[] = {name, nullptr};
    if (kind == FuzzApp::Gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);  // lives until the process ends
    } else {
        new QCoreApplication(argc, argv);
    }
    InitApplicationMetadata();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

QString FuzzScratchFolder()
{
    // TOLVANE_FUZZ_SCRATCH when set (tools/fuzz-ci.sh removes it even after a crash), else in
    // memory where the machine has it: the settings and cam list writes sync their files,
    // which on a disk would cost more than everything else the targets do.
    static const QString base = [] {
        const QString given = qEnvironmentVariable("TOLVANE_FUZZ_SCRATCH");
        if (!given.isEmpty() && QDir().mkpath(given))
            return given;
        return QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    }();
    static QTemporaryDir folder(base + QStringLiteral("/tolvane-fuzz-XXXXXX"));
    if (!folder.isValid())
        FuzzFail(__FILE__, __LINE__, "QTemporaryDir", folder.errorString());
    // Working copies and other temporary files go there too.
    qputenv("TMPDIR", QFile::encodeName(folder.path()));
    return folder.path();
}

void FuzzWriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        FuzzFail(__FILE__, __LINE__, "write", path + QStringLiteral(": ") + file.errorString());
}

QByteArray FuzzReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        FuzzFail(__FILE__, __LINE__, "read", path + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}
