#include "ProcessCounters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

qint64 ProcessStatusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Read whole: /proc files report no size, and a line-by-line read costs a system call each.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.startsWith(field + ':'))
            continue;
        const QList<QByteArray> words = line.mid(field.size() + 1).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        return ok ? value : -1;
    }
    return -1;
}

bool ResetPeakResidentMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

QStringList OpenFileDescriptors()
{
    QStringList targets;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& name : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        targets << name + QStringLiteral(" -> ") + QFileInfo(fds.filePath(name)).symLinkTarget();
    return targets;
}

QStringList FilesMatching(const QString& folder, const QString& wildcard)
{
    return QDir(folder).entryList({wildcard}, QDir::Files | QDir::Hidden | QDir::System);
}

PrivateTempFolder::PrivateTempFolder()
    : folder_(QDir::tempPath() + QStringLiteral("/tolvane-private-tmp-XXXXXX")), previous_(qgetenv("TMPDIR")),
      hadPrevious_(qEnvironmentVariableIsSet("TMPDIR"))
{
    if (folder_.isValid())
        qputenv("TMPDIR", QFile::encodeName(folder_.path()));
}

PrivateTempFolder::~PrivateTempFolder()
{
    if (hadPrevious_)
        qputenv("TMPDIR", previous_);
    else
        qunsetenv("TMPDIR");
}
