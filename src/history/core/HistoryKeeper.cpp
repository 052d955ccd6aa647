#include "HistoryKeeper.h"

#include <QPointer>

#include "DateTimeText.h"
#include "HistoryLog.h"
#include "IndexMaintenance.h"
#include "Settings.h"

namespace {
constexpr int kRetentionIntervalMs = 60 * 60 * 1000;        // hourly
constexpr qint64 kBytesPerGigabyte = 1000LL * 1000 * 1000;  // as disks are sold and df -H counts
}  // namespace

HistoryKeeper::HistoryKeeper(QObject* parent) : QObject(parent)
{
    timer_.setInterval(kRetentionIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &HistoryKeeper::applyRetention);
}

HistoryKeeper::~HistoryKeeper()
{
    if (job_.joinable())
        job_.join();
}

void HistoryKeeper::start(const QStringList& camNames)
{
    run(camNames, true);
    timer_.start();
}

void HistoryKeeper::applyRetention()
{
    run({}, false);
}

void HistoryKeeper::run(const QStringList& camNames, bool checkIndex)
{
    if (running_) {
        // The hour comes again; a start-up check under way keeps its own retention. A check of
        // another save folder waits for the run under way.
        if (checkIndex) {
            pendingCheck_ = true;
            pendingNames_ = camNames;
        }
        return;
    }
    if (job_.joinable())
        job_.join();
    // Read here, on the window's thread: the choices as they stand now, and the injected clock.
    // Another program on the folder (a recorder) may keep the retention itself: then only the
    // index is checked here, so that the two never delete at once.
    const bool retention = !retentionLeftElsewhere_ || !retentionLeftElsewhere_();
    const std::optional<int> keepDays = retention ? SettingNumber(SettingKeys::keepDays) : std::nullopt;
    const std::optional<int> keepGigabytes = retention ? SettingNumber(SettingKeys::keepGigabytes) : std::nullopt;
    const QString folder = CamFolderPath();
    const QDateTime now = CurrentDateTime();
    running_ = true;
    job_ = std::thread([this, camNames, checkIndex, keepDays, keepGigabytes, folder, now] {
        QString trouble;
        int deleted = 0;
        if (checkIndex)
            trouble = EnsureIndex(camNames, folder);
        if ((keepDays || keepGigabytes) && trouble.isEmpty()) {
            PictureIndex index(PictureIndexPathFor(folder));
            if (!index.open()) {
                trouble = QStringLiteral("Old pictures were not deleted: %1").arg(index.errorText());
                qCWarning(lcHistory).noquote() << trouble;
            } else {
                QStringList failures;
                if (keepDays) {
                    const RetentionResult result = ApplyRetention(index, *keepDays, now, folder);
                    deleted += result.deleted;
                    failures << result.failures;
                }
                if (keepGigabytes) {
                    const RetentionResult result =
                        ApplySizeRetention(index, qint64(*keepGigabytes) * kBytesPerGigabyte, folder);
                    deleted += result.deleted;
                    failures << result.failures;
                }
                if (!failures.isEmpty())
                    trouble = QStringLiteral("%1 old pictures could not be deleted, for example %2")
                                  .arg(failures.size())
                                  .arg(failures.constFirst());
            }
        }
        QMetaObject::invokeMethod(
            this,
            [this, trouble, deleted] {
                running_ = false;
                if (!trouble.isEmpty())
                    Q_EMIT problem(trouble);
                Q_EMIT finished(deleted);
                if (pendingCheck_) {
                    pendingCheck_ = false;
                    run(pendingNames_, true);
                }
            },
            Qt::QueuedConnection);
    });
}
