#include "HistoryBar.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "DateTimeText.h"
#include "HistoryLog.h"
#include "ProgramFolder.h"
#include "RecorderStatus.h"

namespace {
constexpr int kFollowRecorderMs = 2000;

QPushButton* Button(const QString& caption, const char* name, const QString& tip, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
}  // namespace

HistoryBar::HistoryBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHistory"));
    followTimer_ = new QTimer(this);
    followTimer_->setInterval(kFollowRecorderMs);
    connect(followTimer_, &QTimer::timeout, this, &HistoryBar::followRecorder);
    followTimer_->start();
    // Two rows that share nothing but the width: the slider takes all of it but the step
    // buttons, and the time all of it but "Live" (a grid gave the slider only what the Live
    // column left, about 70 pixels). Where the time and "Live" do not fit side by side, "Live"
    // goes up beside the step buttons (fitRows).
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    steps_ = new QHBoxLayout;
    times_ = new QHBoxLayout;
    steps_->setSpacing(2);
    times_->setSpacing(2);
    rows->addLayout(steps_);
    rows->addLayout(times_);
    cmdPrevious = Button(QStringLiteral("<"), "cmdPrevious", tr("Previous saved picture"), this);
    cmdNext = Button(QStringLiteral(">"), "cmdNext", tr("Next saved picture"), this);
    cmdLive = Button(tr("Live"), "cmdLive", tr("Back to the live picture"), this);
    sldHistory = new QSlider(Qt::Horizontal, this);
    sldHistory->setObjectName(QStringLiteral("sldHistory"));
    sldHistory->setToolTip(tr("The cam's saved pictures; the right end is live"));
    lblHistoryTime = new QLabel(this);
    lblHistoryTime->setObjectName(QStringLiteral("lblHistoryTime"));
    const int narrow = fontMetrics().horizontalAdvance(QStringLiteral("<<<"));
    cmdPrevious->setFixedWidth(narrow);
    cmdNext->setFixedWidth(narrow);
    steps_->addWidget(cmdPrevious);
    steps_->addWidget(sldHistory, 1);
    steps_->addWidget(cmdNext);
    times_->addWidget(lblHistoryTime, 1);
    times_->addWidget(cmdLive);

    connect(cmdPrevious, &QPushButton::clicked, this, &HistoryBar::cmdPrevious_Click);
    connect(cmdNext, &QPushButton::clicked, this, &HistoryBar::cmdNext_Click);
    connect(cmdLive, &QPushButton::clicked, this, &HistoryBar::returnToLive);
    connect(sldHistory, &QSlider::valueChanged, this, [this](int value) {
        if (!updating_)
            stepTo(value);
    });
    updateControls();
}

HistoryBar::~HistoryBar() = default;

void HistoryBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitRows();
}

void HistoryBar::fitRows()
{
    // The time row must hold the widest time it shows (a date with two-digit fields and seconds,
    // or the live caption) beside "Live" with its count; otherwise both were cut in a narrow
    // window. Measured against a full date, not only the text shown, so that stepping between
    // live and a saved picture does not move the buttons about.
    static const QString widestDate = DateTimeText(QDateTime(QDate(2024, 12, 28), QTime(12, 59, 45)));
    const int time =
        std::max(lblHistoryTime->sizeHint().width(), lblHistoryTime->fontMetrics().horizontalAdvance(widestDate));
    const bool liveUp = width() < time + times_->spacing() + cmdLive->sizeHint().width();
    if (liveUp == (steps_->indexOf(cmdLive) >= 0))
        return;
    (liveUp ? times_ : steps_)->removeWidget(cmdLive);
    (liveUp ? steps_ : times_)->addWidget(cmdLive);
}

void HistoryBar::showCam(const QString& cam)
{
    cam_ = cam;
    reload();
    position_ = pictureCount();
    newLive_ = 0;
    updateControls();
}

void HistoryBar::livePictureArrived()
{
    // Someone looking at a saved picture is not taken away from it; the button says what waits.
    if (isLive())
        return;
    ++newLive_;
    updateControls();
}

void HistoryBar::pictureSaved(const QString& cam)
{
    if (cam != cam_)
        return;
    const bool live = isLive();
    const qint64 shownId = live ? 0 : pictures_.at(position_).id;
    reload();
    position_ = pictureCount();
    if (!live) {
        for (int k = 0; k < pictureCount(); ++k)
            if (pictures_.at(k).id == shownId)
                position_ = k;
    }
    updateControls();
}

void HistoryBar::followRecorder()
{
    if (cam_.isEmpty() || !RecordedByRecorder(ProgramFolder(), cam_))
        return;
    if (!index_ || index_->path() != PictureIndexPathFor(CamFolderPath()) || !index_->open()) {
        pictureSaved(cam_);
        return;
    }
    if (index_->count(cam_) != pictureCount())
        pictureSaved(cam_);
}

void HistoryBar::reload()
{
    pictures_.clear();
    // The bar only reads: an index that is not there yet is made by the start-up check (which
    // then fills it from the folder) or by the first save, never by looking.
    // The save folder chosen now, and so its index: another folder chosen in the Options shows
    // that folder's pictures.
    folder_ = CamFolderPath();
    const QString path = PictureIndexPathFor(folder_);
    if (!index_ || index_->path() != path)
        index_ = std::make_unique<PictureIndex>(path);
    if (cam_.isEmpty() || !QFileInfo::exists(path))
        return;
    if (!index_->open()) {
        qCWarning(lcHistory).noquote() << "the history bar has no index:" << index_->errorText();
        return;
    }
    pictures_ = index_->pictures(cam_);
}

void HistoryBar::returnToLive()
{
    const bool wasLive = isLive();
    position_ = pictureCount();
    newLive_ = 0;
    updateControls();
    if (!wasLive)
        Q_EMIT liveChosen();
}

void HistoryBar::stepTo(int position)
{
    position = std::clamp(position, 0, pictureCount());
    if (position == pictureCount()) {
        returnToLive();
        return;
    }
    const PictureRecord& record = pictures_.at(position);
    const QString path = QDir(folder_).filePath(record.file);
    const QImage picture = ReadSavedPicture(path);
    position_ = position;
    updateControls();
    if (picture.isNull()) {
        // Deleted by hand or damaged: said, and the picture shown stays.
        Q_EMIT problem(tr("The saved picture %1 could not be read").arg(path));
        return;
    }
    Q_EMIT pictureChosen(picture);
}

void HistoryBar::cmdPrevious_Click()
{
    if (position_ > 0)
        stepTo(position_ - 1);
}

void HistoryBar::cmdNext_Click()
{
    if (!isLive())
        stepTo(position_ + 1);
}

void HistoryBar::updateControls()
{
    updating_ = true;
    const int count = pictureCount();
    sldHistory->setRange(0, count);
    sldHistory->setValue(position_);
    sldHistory->setEnabled(count > 0);
    cmdPrevious->setEnabled(position_ > 0);
    cmdNext->setEnabled(!isLive());
    cmdLive->setEnabled(!isLive());
    cmdLive->setText(newLive_ == 0 ? tr("Live") : tr("Live (%1 new)").arg(newLive_));
    if (isLive())
        lblHistoryTime->setText(count == 0 ? tr("Live (no saved pictures)") : tr("Live (%1 saved)").arg(count));
    else
        lblHistoryTime->setText(DateTimeText(pictures_.at(position_).taken.toLocalTime()));
    fitRows();
    updating_ = false;
}
