#include "frmTimelapse.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "DateTimeText.h"
#include "HistoryLog.h"
#include "IndexMaintenance.h"
#include "Prompt.h"

namespace {
QPointer<frmTimelapse>& loaded()
{
    static QPointer<frmTimelapse> dialog;
    return dialog;
}

QString DefaultVideoName(const QString& cam)
{
    return PictureNamePrefix(cam) + QStringLiteral("-timelapse.mp4");
}
}  // namespace

frmTimelapse::frmTimelapse(const QStringList& camNames, const QString& shownCam, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmTimelapse"));
    setWindowTitle(tr("Make Time-lapse"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);

    cboCam = new QComboBox(this);
    cboCam->setObjectName(QStringLiteral("cboCam"));
    cboCam->addItems(camNames);
    if (camNames.contains(shownCam))
        cboCam->setCurrentText(shownCam);
    form->addRow(tr("Cam:"), cboCam);

    const QDateTime now = CurrentDateTime();
    txtFrom = new QDateTimeEdit(now.addDays(-1), this);
    txtFrom->setObjectName(QStringLiteral("txtFrom"));
    txtTo = new QDateTimeEdit(now, this);
    txtTo->setObjectName(QStringLiteral("txtTo"));
    for (QDateTimeEdit* edit : {txtFrom, txtTo}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(DateFormat() + QLatin1Char(' ') + TimeFormat());
    }
    form->addRow(tr("From:"), txtFrom);
    form->addRow(tr("To:"), txtTo);

    txtFps = new QSpinBox(this);
    txtFps->setObjectName(QStringLiteral("txtFps"));
    txtFps->setRange(1, 120);
    txtFps->setValue(24);
    form->addRow(tr("Frames per second:"), txtFps);

    auto* line = new QHBoxLayout;
    txtOut = new QLineEdit(this);
    txtOut->setObjectName(QStringLiteral("txtOut"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    camShown_ = cboCam->currentText();
    txtOut->setText(QDir(folder).filePath(DefaultVideoName(camShown_)));
    cmdBrowse = new QPushButton(tr("Browse…"), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    line->addWidget(txtOut, 1);
    line->addWidget(cmdBrowse);
    form->addRow(tr("Video file:"), line);

    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    outer->addWidget(lblResult);
    auto* buttons = new QHBoxLayout;
    cmdMake = new QPushButton(tr("Make"), this);
    cmdMake->setObjectName(QStringLiteral("cmdMake"));
    auto* cmdClose = new QPushButton(tr("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch(1);
    buttons->addWidget(cmdMake);
    buttons->addWidget(cmdClose);
    outer->addLayout(buttons);

    connect(cmdMake, &QPushButton::clicked, this, &frmTimelapse::cmdMake_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        const QString chosen =
            QFileDialog::getSaveFileName(this, tr("Video file"), txtOut->text(), tr("MP4 video (*.mp4)"));
        if (!chosen.isEmpty())
            fileChosen(chosen);
    });
    connect(cboCam, &QComboBox::currentTextChanged, this, &frmTimelapse::cboCam_Change);
}

void frmTimelapse::cboCam_Change()
{
    // The name made for the cam shown before follows the new cam (in the same folder); a name
    // the user typed or chose stays. Otherwise the second cam's video would take the first
    // one's name and replace it.
    const QString cam = cboCam->currentText();
    const QFileInfo out(txtOut->text());
    if (out.fileName() == DefaultVideoName(camShown_)) {
        const QString folder = txtOut->text().left(txtOut->text().size() - out.fileName().size());
        txtOut->setText(folder + DefaultVideoName(cam));
    }
    camShown_ = cam;
}

void frmTimelapse::fileChosen(const QString& path)
{
    txtOut->setText(path);
    replaceAgreed_ = VideoFileExists(path) ? QFileInfo(path).absoluteFilePath() : QString();
}

bool frmTimelapse::mayWrite(const QString& outFile, const QString& cam, bool& replace)
{
    replace = false;
    if (!VideoFileExists(outFile))
        return true;
    if (outFile != replaceAgreed_ &&
        CurrentPrompt().ask(windowTitle(),
                            tr("%1 already exists.\n\nReplace it with the time-lapse of \"%2\"?").arg(outFile, cam),
                            PromptButtons::OkCancel, this) != PromptAnswer::Ok)
        return false;
    replace = true;
    return true;
}

frmTimelapse::~frmTimelapse()
{
    cancel_ = true;
    if (job_.joinable())
        job_.join();
}

void frmTimelapse::cmdMake_Click()
{
    if (exporting_)
        return;
    const QString cam = cboCam->currentText();
    PictureIndex index;
    QStringList files;
    if (index.open()) {
        const QDir folder(CamFolderPath());
        for (const PictureRecord& r : index.pictures(cam, txtFrom->dateTime(), txtTo->dateTime()))
            files << folder.filePath(r.file);
    } else {
        lblResult->setText(index.errorText());
        return;
    }
    if (files.isEmpty()) {
        lblResult->setText(tr("There are no saved pictures of \"%1\" in that range.").arg(cam));
        return;
    }
    TimelapseJob job;
    job.files = files;
    job.fps = txtFps->value();
    job.outFile = QFileInfo(txtOut->text()).absoluteFilePath();
    if (!mayWrite(job.outFile, cam, job.replaceExisting)) {
        lblResult->setText(tr("Nothing was made; %1 is as it was.").arg(job.outFile));
        return;
    }
    replaceAgreed_.clear();

    exporting_ = true;
    cancel_ = false;
    cmdMake->setEnabled(false);
    lblResult->clear();
    progress = new QProgressDialog(QString(), tr("Cancel"), 0, static_cast<int>(files.size()), this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setWindowTitle(tr("Making the time-lapse"));
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    // The window is as wide as its title needs: the window manager sets the title in its own
    // (often bold) type and puts an icon and three buttons beside it.
    const QFontMetrics metrics = progress->fontMetrics();
    progress->setMinimumWidth(metrics.horizontalAdvance(progress->windowTitle()) * 5 / 4 + 8 * metrics.height());
    connect(progress, &QProgressDialog::canceled, this, [this] { cancel_ = true; });
    showProgress(0, static_cast<int>(files.size()));
    progress->show();
    clock_.start();
    if (job_.joinable())
        job_.join();
    job_ = std::thread([this, job] {
        const TimelapseResult result = MakeTimelapse(
            job,
            [this](int done, int total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
            },
            &cancel_);
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
}

void frmTimelapse::showProgress(int done, int total)
{
    if (!progress)
        return;
    progress->setMaximum(total);
    progress->setValue(done);
    progress->setLabelText(tr("%1 of %2, %3 left")
                               .arg(done)
                               .arg(PictureCountText(total))
                               .arg(DurationText(SecondsLeft(done, total, clock_.elapsed() / 1000.0))));
}

void frmTimelapse::finish(const TimelapseResult& result)
{
    exporting_ = false;
    cmdMake->setEnabled(true);
    if (progress) {
        progress->deleteLater();
        progress = nullptr;
    }
    lblResult->setText(result.status == TimelapseStatus::Done ? result.message
                                                              : tr("No video: %1").arg(result.message));
    qCInfo(lcHistory).noquote() << "time-lapse:" << result.logMessage;
    Q_EMIT exportFinished(result);
}

frmTimelapse* ShowTimelapse(QWidget* owner, const QStringList& camNames, const QString& shownCam)
{
    frmTimelapse* dialog = loaded().data();
    if (!dialog) {
        dialog = new frmTimelapse(camNames, shownCam, owner);
        loaded() = dialog;
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
