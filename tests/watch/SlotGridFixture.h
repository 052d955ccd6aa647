#pragma once
// A slot grid on a plain window, with every hook recorded, a program folder of its own (cam
// list file and "cam" folder) and a fixed clock.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "DateTimeText.h"
#include "FakeCamServer.h"
#include "HttpCamSource.h"
#include "ImageControl.h"
#include "LockWind.h"
#include "ProgramFolder.h"
#include "SlotGrid.h"
#include "SlotProgressBar.h"

// The cam's HTTP source, whose connection and response the tests look at.
inline HttpCamSource& HttpOf(WatchedCam& cam)
{
    return static_cast<HttpCamSource&>(cam.source());
}

class SlotGridFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        previousFolder = ProgramFolder();
        SetProgramFolder(home.path());
        ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("cam")));
        SetCurrentDateTimeSource([this] { return now; });

        surface = new QWidget(&window);
        surface->setGeometry(0, 0, 237, 1604);  // the scrolling surface, 3555 x 24060 twips
        List1 = new QListWidget(&window);
        chkSave = new QCheckBox(QStringLiteral("AutoSave New Pictures"), &window);

        WatchHooks hooks;
        hooks.mainWindow = &window;
        hooks.isCamSelected = [this] { return !List1->selectedItems().isEmpty(); };
        hooks.currentCamName = [this] { return List1->currentItem() ? List1->currentItem()->text() : QString(); };
        hooks.autoSave = [this] { return chkSave->isChecked(); };
        hooks.fullWindowViewOpen = [this] { return fullWindowViewOpen; };
        hooks.viewerShown = [this] { return viewerShown; };
        hooks.setStatusText = [this](const QString& text) { statusTexts << text; };
        hooks.showNotice = [this] { ++notices; };
        hooks.showInViewer = [this](const QImage& picture) { viewerPictures << picture; };
        hooks.showInFullWindow = [this](const QImage& picture) {
            fullWindowPictures << picture;
            fullWindowIndicatorShown = false;  // Form6 hides picrefresh with every picture
        };
        hooks.showLiveInFullWindow = [this](const QImage& picture) {
            fullWindowPictures << picture;
            ++fullWindowLiveFrames;  // the indicator stays as it is
        };
        hooks.showFullWindowRefreshIndicator = [this] {
            ++fullWindowIndicators;
            fullWindowIndicatorShown = true;
        };
        hooks.hideFullWindowRefreshIndicator = [this] { fullWindowIndicatorShown = false; };
        hooks.setViewerDetails = [this](const ViewerDetails& texts) { details << texts; };
        hooks.setNextRefresh = [this](const QString& text) { nextRefresh << text; };
        hooks.hideViewer = [this] { ++viewerHidden; };
        hooks.queryTimeServer = [this] { ++timeQueries; };
        hooks.setViewerStatus = [this](const QString& text) { viewerStatus << text; };
        grid = std::make_unique<SlotGrid>(surface, hooks);
        QObject::connect(&grid->cams(), &WatchedCams::pictureHandled, [this](int index) { handledPictures << index; });
        window.resize(800, 600);
    }

    void TearDown() override
    {
        grid.reset();
        SetCurrentDateTimeSource({});
        SetProgramFolder(previousFolder);
    }

    // The cam list file with these records, as the program writes it.
    void WriteCamList(const QList<CamRecord>& cams)
    {
        QByteArray text = "\r\n";
        for (const CamRecord& cam : cams)
            text +=
                "[name]" + cam.name.toUtf8() + "\r\n" + cam.url.toUtf8() + "\r\n" + cam.refresh.toUtf8() + "\r\n\r\n";
        QFile file(home.filePath(QStringLiteral("00camlist.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Selects the entry (adding it to the list box when missing) and presses "Start Cam".
    void StartCam(const QString& name)
    {
        auto items = List1->findItems(name, Qt::MatchExactly);
        if (items.isEmpty()) {
            List1->addItem(name);
            items = List1->findItems(name, Qt::MatchExactly);
        }
        List1->setCurrentItem(items.first());
        grid->cmdStartCam_Click();
    }

    // Names "Cam 1".."Cam n", each with an address nothing answers at.
    QList<CamRecord> Cams(int count, const QString& refresh = QStringLiteral("30"))
    {
        QList<CamRecord> cams;
        for (int k = 1; k <= count; ++k)
            cams << CamRecord{QStringLiteral("Cam %1").arg(k), QStringLiteral("http://127.0.0.1:1/cam%1.jpg").arg(k),
                              refresh};
        return cams;
    }

    int OpenPanels() const
    {
        int open = 0;
        for (int i = 0; i < SlotGrid::kSlotCount; ++i)
            open += grid->slot(i).isOpen() ? 1 : 0;
        return open;
    }

    // Runs the event loop until the condition holds or five seconds have passed.
    static bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > milliseconds)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    QTemporaryDir home;
    QString previousFolder;
    QDateTime now{QDate(2007, 5, 7), QTime(15, 59, 45)};
    QWidget window;
    QWidget* surface = nullptr;
    QListWidget* List1 = nullptr;
    QCheckBox* chkSave = nullptr;
    bool fullWindowViewOpen = false;  // what the window would answer about the full-window view
    // What the window would answer about the Viewer: hidden before the first click, or under the wall.
    bool viewerShown = true;
    std::unique_ptr<SlotGrid> grid;

    QStringList statusTexts;
    QStringList nextRefresh;
    QStringList viewerStatus;  // the Viewer's "Status:" line, each time it was set
    QList<QImage> viewerPictures;
    QList<QImage> fullWindowPictures;
    QList<ViewerDetails> details;
    int notices = 0;
    int fullWindowIndicators = 0;
    bool fullWindowIndicatorShown = false;  // Form6's picrefresh as the hooks leave it
    int fullWindowLiveFrames = 0;           // live frames, which leave picrefresh as it is
    int viewerHidden = 0;
    int timeQueries = 0;
    QList<int> handledPictures;  // slot of each pictureHandled
};

// The grid against a loopback cam server: cam k of the list is "Cam k" at /cam<k>.jpg.
class CamServerFixture : public SlotGridFixture {
protected:
    void SetUp() override
    {
        SlotGridFixture::SetUp();
        ASSERT_TRUE(server.isListening());
    }

    QList<CamRecord> ServerCams(int count, const QString& refresh = QStringLiteral("30"))
    {
        QList<CamRecord> cams;
        for (int k = 1; k <= count; ++k)
            cams << CamRecord{QStringLiteral("Cam %1").arg(k), server.url(QStringLiteral("/cam%1.jpg").arg(k)),
                              refresh};
        return cams;
    }

    // Waits until the slot has handled the response of its running fetch (indicator hidden).
    bool WaitForHandled(int index)
    {
        return WaitFor([this, index] { return grid->slot(index).imgRefresh->isHidden(); });
    }

    // Opens "Cam 1" into slot 0 and waits for its first response, which is `reply`.
    bool OpenFirstCam(const ScriptedReply& reply, const QString& refresh = QStringLiteral("30"))
    {
        WriteCamList(ServerCams(2, refresh));
        server.enqueue(reply);
        StartCam(QStringLiteral("Cam 1"));
        return WaitForHandled(0);
    }

    // The next fetch of a slot, answered with `reply`.
    bool FetchAgain(int index, const ScriptedReply& reply)
    {
        server.enqueue(reply);
        grid->cam(index).cmdRefresh_Click();
        return WaitForHandled(index);
    }

    static QByteArray PictureAnswer(const QByteArray& body, const QByteArray& lastModified = QByteArray())
    {
        HttpAnswer answer;
        answer.body = body;
        answer.lastModified = lastModified;
        return answer.bytes();
    }

    FakeCamServer server;
};
