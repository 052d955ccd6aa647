#include "AlertCommand.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#include "AlertLog.h"
#include "CamHealth.h"
#include "Translations.h"

namespace {
constexpr int kKillAfterMs = 2000;  // after the polite stop, before the hard one
constexpr int kLoggedLines = 200;   // lines of one run's output that go to the log
constexpr int kLongestLine = 4096;  // a line without an end is logged in pieces of this size
}  // namespace

QStringList AlertEnvironment(const CamAlertEvent& event, const QString& picturePath)
{
    // The state is a value programs compare: always the English word.
    const EnglishTexts english;
    return {
        QStringLiteral("TOLVANE_CAM=") + event.cam,
        QStringLiteral("TOLVANE_STATE=") + StateText(event.state),
        QStringLiteral("TOLVANE_REASON=") + (event.back ? QString() : event.reason),
        QStringLiteral("TOLVANE_SINCE=") +
            event.since.toOffsetFromUtc(event.since.offsetFromUtc()).toString(Qt::ISODate),
        QStringLiteral("TOLVANE_PICTURE=") + picturePath,
    };
}

AlertCommand::AlertCommand(QObject* parent) : QObject(parent)
{
}

AlertCommand::~AlertCommand()
{
    for (auto& [index, run] : runs_) {
        run->process->disconnect(this);
        run->process->kill();
        run->process->waitForFinished(1000);
    }
}

void AlertCommand::setCommandLine(const QString& commandLine)
{
    command_ = QProcess::splitCommand(commandLine);
}

int AlertCommand::running() const
{
    return static_cast<int>(runs_.size());
}

int AlertCommand::waiting() const
{
    int count = 0;
    for (const auto& [index, jobs] : waiting_)
        count += static_cast<int>(jobs.size());
    return count;
}

void AlertCommand::run(const CamAlertEvent& event, const QByteArray& picture)
{
    if (command_.isEmpty())
        return;
    if (runs_.count(event.index) == 0) {
        Start(event.index, {event, picture});
        return;
    }
    QList<Job>& jobs = waiting_[event.index];
    if (jobs.size() >= kWaitingPerCam) {
        // A command that keeps running past every alert: the oldest waiting alert gives way.
        qCWarning(lcAlert).noquote()
            << QStringLiteral("alert command for %1: too many alerts waiting, one dropped").arg(event.cam);
        jobs.removeFirst();
    }
    jobs << Job{event, picture};
}

void AlertCommand::Start(int index, const Job& job)
{
    auto run = std::make_unique<Run>();
    run->camName = job.event.cam;
    QString picturePath;
    if (!job.picture.isEmpty()) {
        QString suffix = PictureFormatOf(job.picture.left(16)).toLower();
        if (suffix == QStringLiteral("jpeg"))
            suffix = QStringLiteral("jpg");
        run->pictureFile = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tolvane-alert-XXXXXX") +
                                                            (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix));
        if (run->pictureFile->open() && run->pictureFile->write(job.picture) == job.picture.size() &&
            run->pictureFile->flush()) {
            picturePath = run->pictureFile->fileName();
            run->pictureFile->close();
        } else {
            qCWarning(lcAlert).noquote() << QStringLiteral("alert command for %1: could not write its picture: %2")
                                                .arg(job.event.cam, run->pictureFile->errorString());
            run->pictureFile.reset();
        }
    }
    auto* process = new QProcess(this);
    run->process = process;
    run->limit = new QTimer(process);
    run->limit->setSingleShot(true);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setInputChannelMode(QProcess::ManagedInputChannel);
    QStringList environment = QProcess::systemEnvironment();
    environment.erase(std::remove_if(environment.begin(), environment.end(),
                                     [](const QString& line) { return line.startsWith(QStringLiteral("TOLVANE_")); }),
                      environment.end());
    environment << AlertEnvironment(job.event, picturePath);
    process->setEnvironment(environment);
    process->setProgram(command_.constFirst());
    process->setArguments(command_.mid(1));

    Run* raw = run.get();
    connect(process, &QProcess::readyReadStandardOutput, this, [this, raw] { LogOutput(*raw, false); });
    connect(run->limit, &QTimer::timeout, this, [this, raw] {
        if (raw->stopped) {
            raw->process->kill();
            return;
        }
        raw->stopped = true;
        qCWarning(lcAlert).noquote() << QStringLiteral("alert command for %1 still ran after %2 s: stopped")
                                            .arg(raw->camName)
                                            .arg(timeLimitMs_ / 1000.0);
        raw->process->terminate();
        raw->limit->start(kKillAfterMs);
    });
    connect(process, &QProcess::finished, this, [this, index, raw](int exitCode, QProcess::ExitStatus status) {
        LogOutput(*raw, true);
        if (!raw->stopped) {
            if (status == QProcess::CrashExit)
                qCWarning(lcAlert).noquote()
                    << QStringLiteral("alert command for %1 ended abnormally").arg(raw->camName);
            else if (exitCode != 0)
                qCWarning(lcAlert).noquote()
                    << QStringLiteral("alert command for %1 exited with status %2").arg(raw->camName).arg(exitCode);
        }
        Ended(index);
    });
    connect(process, &QProcess::errorOccurred, this, [this, index, raw](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcAlert).noquote() << QStringLiteral("alert command for %1 could not start %2: %3")
                                            .arg(raw->camName, raw->process->program(), raw->process->errorString());
        Ended(index);
    });
    runs_[index] = std::move(run);
    qCInfo(lcAlert).noquote()
        << QStringLiteral("alert command for %1: %2").arg(job.event.cam, command_.join(QLatin1Char(' ')));
    raw->limit->start(timeLimitMs_);
    process->start();
    if (process->state() != QProcess::NotRunning)
        process->closeWriteChannel();
}

void AlertCommand::LogOutput(Run& run, bool all)
{
    run.partialLine += run.process->readAllStandardOutput();
    qsizetype start = 0;
    for (;;) {
        qsizetype end = run.partialLine.indexOf('\n', start);
        if (end < 0 && run.partialLine.size() - start >= kLongestLine)
            end = start + kLongestLine;
        if (end < 0 && all && start < run.partialLine.size())
            end = run.partialLine.size();
        if (end < 0)
            break;
        QByteArray line = run.partialLine.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = end < run.partialLine.size() && run.partialLine.at(end) == '\n' ? end + 1 : end;
        if (run.loggedLines < kLoggedLines)
            qCInfo(lcAlert).noquote()
                << QStringLiteral("alert command for %1: %2").arg(run.camName, QString::fromUtf8(line));
        else if (run.loggedLines == kLoggedLines)
            qCInfo(lcAlert).noquote()
                << QStringLiteral("alert command for %1: more output, not logged").arg(run.camName);
        ++run.loggedLines;
    }
    run.partialLine.remove(0, start);
}

void AlertCommand::Ended(int index)
{
    const auto found = runs_.find(index);
    if (found == runs_.end())
        return;
    found->second->limit->stop();
    found->second->process->disconnect(this);
    found->second->process->deleteLater();
    runs_.erase(found);  // removes the picture written for it
    Q_EMIT finished(index);
    const auto waiting = waiting_.find(index);
    if (waiting == waiting_.end() || waiting->second.isEmpty())
        return;
    const Job next = waiting->second.takeFirst();
    if (waiting->second.isEmpty())
        waiting_.erase(waiting);
    Start(index, next);
}
