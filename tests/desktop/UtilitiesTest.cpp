#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusError>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include "ProductInfo.h"
#include "Prompt.h"
#include "Utilities.h"

// Counts the times a window is hidden and shown.
class VisibilityCounter : public QObject {
public:
    int hides = 0;
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        hides += event->type() == QEvent::Hide ? 1 : 0;
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

TEST(WindowRoutines, SetTopMostTogglesTheOnTopBandAndKeepsTheWindowShown)
{
    QWidget window;
    window.show();
    SetTopMost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    SetTopMost(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());

    QWidget hidden;
    SetTopMost(&hidden, true);
    EXPECT_TRUE(hidden.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(hidden.isVisible());
    SetTopMost(nullptr, true);
}

TEST(WindowRoutines, SetTopMostChangesOnlyTheStacking)
{
    QWidget window;
    window.show();
    ASSERT_TRUE(window.windowHandle());
    VisibilityCounter counter;
    window.installEventFilter(&counter);
    const WId id = window.winId();
    SetTopMost(&window, true);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    SetTopMost(&window, false);
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(counter.hides, 0) << "the window was hidden and shown again";
    EXPECT_EQ(counter.shows, 0);
    EXPECT_EQ(window.winId(), id) << "the window was made anew";

    // A window not shown yet takes the flag when it is shown.
    QWidget hidden;
    SetTopMost(&hidden, true);
    EXPECT_FALSE(hidden.isVisible());
    hidden.show();
    ASSERT_TRUE(hidden.windowHandle());
    EXPECT_TRUE(hidden.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    SetTopMost(nullptr, true);
}

TEST(MessageBoxes, ShowTheirTextAsPlainText)
{
    QString shownText;
    Qt::TextFormat format = Qt::AutoText;
    bool found = false;
    // The box is modal: it is read and closed from the event loop it runs.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        found = true;
        format = box->textFormat();
        shownText = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    const QString name = QStringLiteral("Are you sure you want to delete <b>x</b>?");
    EXPECT_EQ(CurrentPrompt().ask(QStringLiteral("Confirm Delete"), name, PromptButtons::OkCancel), PromptAnswer::Ok);
    ASSERT_TRUE(found);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shownText, name);
}

TEST(WindowRoutines, SetWindowIconReachesTheOwnerChainOnlyWhenAsked)
{
    ASSERT_TRUE(QApplication::windowIcon().isNull());
    QWidget owner;
    QDialog middle(&owner);
    QDialog window(&middle);

    SetWindowIcon(&window, "AAA", false);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(owner.windowIcon().isNull());
    EXPECT_TRUE(middle.windowIcon().isNull());

    SetWindowIcon(&window, "AAA", true);
    EXPECT_FALSE(owner.windowIcon().isNull());

    // A name without a resource removes the icons it is given to.
    SetWindowIcon(&window, "NoSuchIcon", true);
    EXPECT_TRUE(window.windowIcon().isNull());
    EXPECT_TRUE(owner.windowIcon().isNull());
    SetWindowIcon(nullptr, "AAA", true);
}

namespace {
// Stands in for the desktop's org.freedesktop.ScreenSaver service.
class FakeScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList calls;
    bool refuse = false;
    uint nextCookie = 41;

public Q_SLOTS:
    uint Inhibit(const QString& application, const QString& reason)
    {
        calls << "Inhibit " + application + (reason.isEmpty() ? " without reason" : "");
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, "not now");
            return 0;
        }
        return ++nextCookie;
    }
    void UnInhibit(uint cookie)
    {
        calls << QString("UnInhibit %1").arg(cookie);
        if (refuse)
            sendErrorReply(QDBusError::AccessDenied, "not now");
    }
};

// A private bus daemon of this test, so that no desktop's own bus is touched.
class PrivateBus : public testing::Test {
protected:
    void SetUp() override
    {
        const QString daemon = QStandardPaths::findExecutable("dbus-daemon");
        if (daemon.isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        process_.start(daemon, {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(process_.waitForStarted(10000));
        while (!process_.canReadLine())
            ASSERT_TRUE(process_.waitForReadyRead(10000)) << "the bus daemon gave no address";
        const QString address = QString::fromUtf8(process_.readLine()).trimmed();
        bus_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, kName));
        ASSERT_TRUE(bus_->isConnected()) << bus_->lastError().message().toStdString();
        SetScreenSaverBus(kName);
    }
    void TearDown() override
    {
        SetScreenSaverBus(QString());
        if (bus_) {
            bus_.reset();
            QDBusConnection::disconnectFromBus(kName);
        }
        process_.kill();
        process_.waitForFinished(10000);
    }
    void publish()
    {
        ASSERT_TRUE(bus_->registerObject("/org/freedesktop/ScreenSaver", &service_, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus_->registerService("org.freedesktop.ScreenSaver"));
    }

    static inline const QString kName = "tolvane-test-bus";
    QProcess process_;
    std::unique_ptr<QDBusConnection> bus_;
    FakeScreenSaver service_;
};
}  // namespace

TEST(ScreenSaver, WithoutABusTheChangeIsRefused)
{
    SetScreenSaverBus("tolvane-no-such-connection");
    EXPECT_FALSE(SetScreenSaverActive(false));
    EXPECT_FALSE(SetScreenSaverActive(true));
    SetScreenSaverBus(QString());
}

TEST_F(PrivateBus, InhibitKeepsOneCookieAndUnInhibitGivesItBack)
{
    publish();
    EXPECT_TRUE(SetScreenSaverActive(false));
    EXPECT_TRUE(SetScreenSaverActive(false));
    EXPECT_TRUE(SetScreenSaverActive(true));
    EXPECT_TRUE(SetScreenSaverActive(true));
    EXPECT_EQ(service_.calls, QStringList({"Inhibit " + ProductName(), "UnInhibit 42"}));
}

TEST_F(PrivateBus, ARefusingServiceOrNoServiceAnswersFalse)
{
    EXPECT_FALSE(SetScreenSaverActive(false));
    EXPECT_FALSE(SetScreenSaverActive(true));
    publish();
    service_.refuse = true;
    EXPECT_FALSE(SetScreenSaverActive(false));
    service_.refuse = false;
    ASSERT_TRUE(SetScreenSaverActive(false));
    service_.refuse = true;
    EXPECT_FALSE(SetScreenSaverActive(true));
    // Still inhibited: the cookie is kept for the next try.
    service_.refuse = false;
    EXPECT_TRUE(SetScreenSaverActive(true));
    EXPECT_EQ(service_.calls.last(), "UnInhibit 42");
}

#include "UtilitiesTest.moc"
