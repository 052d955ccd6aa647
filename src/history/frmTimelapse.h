#pragma once
// Cams > "Make Time-lapse…": the cam, the range (the last 24 hours unless changed), frames per
// second and the output file; "Make" exports on a thread of its own behind a progress dialog
// (pictures done of total, time left) with Cancel. Modeless, loaded once.
#include <QDialog>
#include <QElapsedTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "Timelapse.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QSpinBox;

class frmTimelapse : public QDialog {
    Q_OBJECT
public:
    // camNames: the listed cams; shownCam is chosen first when it is one of them.
    frmTimelapse(const QStringList& camNames, const QString& shownCam, QWidget* owner = nullptr);
    ~frmTimelapse() override;  // cancels and waits for an export under way

    QComboBox* cboCam = nullptr;
    QDateTimeEdit* txtFrom = nullptr;
    QDateTimeEdit* txtTo = nullptr;
    QSpinBox* txtFps = nullptr;
    QLineEdit* txtOut = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdMake = nullptr;
    QLabel* lblResult = nullptr;
    QProgressDialog* progress = nullptr;  // while an export runs

    void cmdMake_Click();
    bool isExporting() const { return exporting_; }

Q_SIGNALS:
    // An export has ended; the result is also shown in lblResult.
    void exportFinished(const TimelapseResult& result);

private:
    void showProgress(int done, int total);
    void finish(const TimelapseResult& result);

    std::thread job_;
    std::atomic<bool> cancel_ = false;
    bool exporting_ = false;
    QElapsedTimer clock_;
};

// Loads the dialog for owner, or brings the loaded one forward.
frmTimelapse* ShowTimelapse(QWidget* owner, const QStringList& camNames, const QString& shownCam);
