#include "Recorder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "CamSettings.h"
#include "CamUrl.h"
#include "DateTimeText.h"
#include "IndexMaintenance.h"
#include "Options.h"
#include "PictureWork.h"
#include "ProgramFolder.h"
#include "ReplaceFile.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "SlotNumbers.h"
#include "WatchChoices.h"

namespace {
constexpr int kFollowIntervalMs = 2000;
// The status is rewritten at most this often while only health and pictures change.
constexpr qint64 kStatusIntervalMs = 10'000;
// A temporary file younger than this may be one the window is writing right now.
constexpr int kTempFileAgeSeconds = 60;
// A decode the size of a thumbnail is enough to tell a new picture; a save decodes fully anyway.
const QSize kJudgingSize(160, 120);

// What tells that the settings file was written again.
QString FileStamp(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? QStringLiteral("%1/%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch())
                         : QString();
}
}  // namespace

Recorder::Recorder(QStringList openNames, std::function<void(const QString&)> say, const QString& notificationBus,
                   QObject* parent)
    : QObject(parent), openNames_(std::move(openNames)), say_(std::move(say)), cams_(RecordAutoSavedPicture),
      alerts_(cams_, notificationBus)
{
    alerts_.notifications().setOffersShow(false);  // there is no window to show the cam in
    CamViewNeeds& needs = cams_.needs();
    needs.decodeSize = [](int) { return kJudgingSize; };
    needs.fullPictureSeen = [] { return false; };
    needs.autoSave = [] { return true; };  // every cam it records is saved: that is what it is for
    needs.camChoices = ChosenCamChoices;
    needs.savedPictureShown = false;  // no view: a saved file is not read back
    cams_.setSelectedSlot(-1);        // nobody looks at any of them
    listTimer_.setInterval(kFollowIntervalMs);
    connect(&listTimer_, &QTimer::timeout, this, &Recorder::followCamList);
    connect(&keeper_, &HistoryKeeper::problem, this, [this](const QString& text) { say_(text); });
    connect(&cams_, &WatchedCams::pictureSaved, this, [this](int, const QString& cam, const QString& fileName) {
        lastSaved_.insert(cam, QDir(CamFolderPath()).relativeFilePath(fileName));
        statusDirty_ = true;
    });
    connect(&cams_, &WatchedCams::changed, this, [this](int) { statusDirty_ = true; });
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        connect(&cams_.cam(i), &WatchedCam::healthChanged, this, [this] { healthChanged_ = true; });
        // The picture is on disk; its row is missing until a rebuild, and the journal should say
        // so, as the window's status bar does.
        connect(&cams_.cam(i), &WatchedCam::autoSaved, this, [this](const PictureWork& work) {
            if (!work.indexProblem.isEmpty())
                say_(QStringLiteral("%1: %2 was saved but not added to the picture index: %3")
                         .arg(work.camName, work.saveFileName, work.indexProblem));
        });
    }
}

Recorder::~Recorder()
{
    stop();
}

QString Recorder::start()
{
    QStringList missing;
    const QList<CamRecord> wanted = WantedCams(&missing);
    if (!missing.isEmpty())
        return QStringLiteral("no such cam in %1: %2").arg(CamListPath(), missing.join(QStringLiteral(", ")));
    // The save folder, made now as the window makes it at its start (a folder the user chose may
    // lie deeper than one missing folder).
    if (!QDir().mkpath(CamFolderPath()))
        say_(QStringLiteral("the folder %1 could not be made; new pictures cannot be saved").arg(CamFolderPath()));
    // What a crash of an earlier run left; a window may be saving beside us, so only old ones.
    RemoveStaleTempFiles(ProgramFolder(), kTempFileAgeSeconds);
    RemoveStaleTempFiles(CamFolderPath(), kTempFileAgeSeconds);
    ApplyOptionsWhenChanged();
    followCamList();
    QStringList listed;
    try {
        LoadCamList(listed);
    } catch (const CamListError&) {
        // Told by followCamList already; the index check goes by the folder's names alone.
    }
    keeper_.start(listed);
    started_ = CurrentDateTime();
    publishStatus();
    listTimer_.start();
    return {};
}

void Recorder::stop()
{
    if (!started_.isValid())
        return;
    listTimer_.stop();
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        WatchedCam& cam = cams_.cam(i);
        if (cam.isOpen())
            cam.settle();
    }
    // Said before the cams stop, so that the last status shows how each was doing.
    publishStatus(false);
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        if (cams_.cam(i).isOpen())
            cams_.cam(i).cmdStop_Click();
    }
    started_ = QDateTime();
}

RecorderStatus Recorder::status(bool running)
{
    RecorderStatus status;
    status.pid = QCoreApplication::applicationPid();
    status.running = running;
    status.started = started_;
    status.updated = CurrentDateTime();
    status.saveFolder = CamFolderPath();
    PictureIndex index(PictureIndexPathFor(status.saveFolder));
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        WatchedCam& cam = cams_.cam(i);
        if (!cam.isOpen())
            continue;
        RecordedCamStatus c;
        c.name = cam.name();
        c.state = StateText(cam.healthState());
        c.summary = cam.healthSummary();
        c.lastNewPicture = cam.health().lastNewPicture;
        c.lastSaved = lastSaved_.value(cam.name());
        c.picturesKept = qMax(0, index.count(cam.name()));
        c.schedule = schedules_.value(cam.name());
        status.cams << c;
    }
    for (auto it = waiting_.cbegin(); it != waiting_.cend(); ++it) {
        RecordedCamStatus c;
        c.name = it.key();
        c.state = QString::fromLatin1(kWaitingState);
        c.summary = QStringLiteral("waiting: records %1").arg(it.value());
        c.lastSaved = lastSaved_.value(it.key());
        c.picturesKept = qMax(0, index.count(it.key()));
        c.schedule = it.value();
        status.cams << c;
    }
    return status;
}

void Recorder::publishStatus(bool running)
{
    const RecorderStatus now = status(running);
    QString problem;
    if (!WriteRecorderStatus(ProgramFolder(), now, &problem)) {
        if (problem != statusProblem_)
            say_(QStringLiteral("the status file %1 could not be written: %2")
                     .arg(RecorderStatusPath(ProgramFolder()), problem));
        statusProblem_ = problem;
        return;
    }
    statusProblem_.clear();
    statusDirty_ = false;
    healthChanged_ = false;
    lastPublishedMs_ = QDateTime::currentMSecsSinceEpoch();
    publishedNames_ = recordedNames();
    publishedWaiting_ = waiting_.keys();
}

void Recorder::PublishWhenDue()
{
    if (recordedNames() != publishedNames_ || waiting_.keys() != publishedWaiting_ || healthChanged_ ||
        (statusDirty_ && QDateTime::currentMSecsSinceEpoch() - lastPublishedMs_ >= kStatusIntervalMs))
        publishStatus();
}

QStringList Recorder::recordedNames() const
{
    QStringList names;
    for (int i = 0; i < WatchedCams::kCount; ++i)
        if (cams_.cam(i).isOpen())
            names << cams_.cam(i).name();
    return names;
}

RecordSchedule Recorder::ScheduleOf(const QString& cam, const RecordSchedule& forAll)
{
    const QString own = CamSetting(cam, QString::fromLatin1(CamSettingNames::recordSchedule));
    if (own.trimmed().isEmpty())
        return forAll;
    if (const std::optional<RecordSchedule> schedule = RecordScheduleFromText(own))
        return *schedule;
    // A hand-edited value that means nothing: recording it always loses no picture.
    if (!unreadableSchedules_.contains(cam))
        say_(QStringLiteral("%1: its schedule \"%2\" cannot be read; recorded always").arg(cam, own));
    unreadableSchedules_ << cam;
    return {};
}

QList<CamRecord> Recorder::WantedCams(QStringList* missing) const
{
    QStringList notWhole;
    QList<CamRecord> records = ReadCamRecords(&notWhole);
    QList<CamRecord> wanted;
    if (openNames_.isEmpty()) {
        for (const CamRecord& record : records)
            if (CamRecorded(record.name))
                wanted << record;
        return wanted;
    }
    for (const QString& name : openNames_) {
        const auto found =
            std::find_if(records.cbegin(), records.cend(), [&](const CamRecord& r) { return r.name == name; });
        if (found != records.cend()) {
            if (!std::any_of(wanted.cbegin(), wanted.cend(), [&](const CamRecord& r) { return r.name == name; }))
                wanted << *found;
        } else if (missing) {
            *missing << name;
        }
    }
    return wanted;
}

void Recorder::ApplyOptionsWhenChanged()
{
    const QString stamp = FileStamp(MainSettingsPath());
    if (!optionsStamp_.isNull() && stamp == optionsStamp_)
        return;
    optionsStamp_ = stamp.isNull() ? QStringLiteral("") : stamp;
    ApplyChosenWatchOptions(cams_);
    alerts_.applyOptions();
}

void Recorder::followCamList()
{
    ApplyOptionsWhenChanged();
    QList<CamRecord> wanted;
    try {
        wanted = WantedCams();
        listProblem_.clear();
    } catch (const CamListError& error) {
        // A list being rewritten by hand or unreadable for a moment: the cams go on as they are.
        if (listProblem_ != error.message())
            say_(QStringLiteral("the cam list could not be read: %1").arg(error.message()));
        listProblem_ = error.message();
        return;
    }
    // Those outside their schedule wait, unfetched, until it comes round.
    const RecordSchedule forAll =
        RecordScheduleFromText(OptionValue(SettingKeys::recordSchedule)).value_or(RecordSchedule{});
    const QDateTime now = CurrentDateTime();
    QHash<QString, CamRecord> byName;
    QMap<QString, QString> waiting;  // by name: its schedule in words
    schedules_.clear();
    for (const CamRecord& record : wanted) {
        const RecordSchedule schedule = ScheduleOf(record.name, forAll);
        if (schedule.kind != RecordSchedule::Kind::Always)
            schedules_.insert(record.name, RecordScheduleWords(schedule));
        if (RecordsAt(schedule, now))
            byName.insert(record.name, record);
        else
            waiting.insert(record.name, RecordScheduleWords(schedule));
    }

    // Gone from the list (or unmarked), or changed.
    for (int i = 0; i < WatchedCams::kCount; ++i) {
        WatchedCam& cam = cams_.cam(i);
        if (!cam.isOpen())
            continue;
        const auto it = byName.constFind(cam.name());
        if (it == byName.cend()) {
            if (!waiting.contains(cam.name()))  // else said with the others that wait, below
                say_(QStringLiteral("%1: no longer recorded").arg(cam.name()));
            cam.settle();
            cam.cmdStop_Click();
            continue;
        }
        if (it->url != cam.address() || it->refresh != cam.refreshText()) {
            if (!RefreshSecondsFromText(it->refresh)) {
                say_(QStringLiteral("%1: its refresh rate \"%2\" is not a number of seconds; stopped")
                         .arg(cam.name(), it->refresh));
                cam.settle();
                cam.cmdStop_Click();
                continue;
            }
            say_(QStringLiteral("%1: edited in the cam list; fetched again").arg(cam.name()));
            cam.settle();
            cam.edit(it->name, it->url, it->refresh);
            cam.cmdStart_Click();
        }
        byName.remove(cam.name());
    }

    // New ones, in list order.
    for (const CamRecord& record : wanted) {
        if (!byName.contains(record.name))
            continue;
        if (!RefreshSecondsFromText(record.refresh)) {
            if (!notOpened_.contains(record.name))
                say_(QStringLiteral("%1: its refresh rate \"%2\" is not a number of seconds; not recorded")
                         .arg(record.name, record.refresh));
            notOpened_ << record.name;
            continue;
        }
        int place = -1;
        for (int i = 0; i < WatchedCams::kCount && place < 0; ++i)
            if (!cams_.cam(i).isOpen())
                place = i;
        if (place < 0) {
            if (!notOpened_.contains(record.name))
                say_(QStringLiteral("%1: not recorded, %2 cams are recorded already (the most one program watches)")
                         .arg(record.name)
                         .arg(WatchedCams::kCount));
            notOpened_ << record.name;
            continue;
        }
        notOpened_.removeAll(record.name);
        say_(QStringLiteral("%1: recording %2 every %3 s%4")
                 .arg(record.name, MaskAddressPassword(record.url), record.refresh,
                      schedules_.contains(record.name) ? QStringLiteral(", ") + schedules_.value(record.name)
                                                       : QString()));
        cams_.cam(place).open(record.name, record.url, record.refresh);
    }
    notOpened_.removeIf([&](const QString& name) { return !byName.contains(name); });
    // Each cam that begins to wait (from the start, or stopped by its schedule) is said once.
    for (auto it = waiting.cbegin(); it != waiting.cend(); ++it)
        if (!waiting_.contains(it.key()))
            say_(QStringLiteral("%1: outside its schedule (%2); waiting").arg(it.key(), it.value()));
    waiting_ = waiting;
    if (started_.isValid())
        PublishWhenDue();
}
