#pragma once
// Cams > "Make Time-lapse…": the cam, the range (the last 24 hours unless changed), frames per
// second and the output file; "Make" exports on a thread of its own behind a progress dialog
// (pictures done of total, time left) with Cancel. Modeless, loaded once. The file's name
// follows the chosen cam until the user names the file, and Make asks before it replaces a
// file (unless Browse… just asked about that very file).
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
    // Browse… gave this file; its dialog has asked before choosing a file that exists.
    void fileChosen(const QString& path);

Q_SIGNALS:
    // An export has ended; the result is also shown in lblResult.
    void exportFinished(const TimelapseResult& result);

private:
    void showProgress(int done, int total);
    void finish(const TimelapseResult& result);
    void cboCam_Change();
    // False when a file is there and the user would not have it replaced.
    bool mayWrite(const QString& outFile, const QString& cam, bool& replace);

    std::thread job_;
    std::atomic<bool> cancel_ = false;
    bool exporting_ = false;
    QElapsedTimer clock_;
    QString camShown_;       // the cam whose name the file box was given
    QString replaceAgreed_;  // the existing file Browse… asked about, until the next Make
};

// Loads the dialog for owner, or brings the loaded one forward.
frmTimelapse* ShowTimelapse(QWidget* owner, const QStringList& camNames, const QString& shownCam);
