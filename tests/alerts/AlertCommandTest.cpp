// The command hook: run without a shell, with the alert in its environment, stopped at its time
// limit, one at a time per cam, never holding up the caller.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include "AlertCommand.h"
#include "AlertLog.h"
#include "AlertLogCapture.h"

namespace {
bool WaitFor(const std::function<bool()>& condition, int ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Collects the alert log while it lives.
class Hook : public testing::Test {
protected:
    QString script(const QString& name, const QString& body)
    {
        const QString path = folder_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    static CamAlertEvent down(int index, const QString& cam)
    {
        CamAlertEvent event;
        event.index = index;
        event.cam = cam;
        event.state = CamState::Failing;
        event.reason = "connection refused";
        event.since = QDateTime(QDate(2026, 5, 7), QTime(14, 2, 5), QTimeZone(7200));
        return event;
    }
    bool allEnded()
    {
        return WaitFor([&] { return command_.running() == 0 && command_.waiting() == 0; });
    }

    QTemporaryDir folder_;
    AlertCommand command_;
    AlertLogCapture log_;
};
}  // namespace

TEST_F(Hook, GetsTheAlertInItsEnvironmentAndThePictureWhileItRuns)
{
    const QString out = folder_.filePath("env with space.txt");
    // The argument with a blank reaches the program whole: quotes group it, no shell splits it.
    command_.setCommandLine(QStringLiteral("\"%1\" \"%2\" \"$HOME and `id`\"")
                                .arg(script("hook",
                                            "env | grep '^TOLVANE_' | sort > \"$1\"\n"
                                            "echo \"third=$2\" >> \"$1\"\n"
                                            "cp \"$TOLVANE_PICTURE\" \"$1.picture\""),
                                     out));
    const QByteArray jpeg("\xFF\xD8\xFF\xE0 picture bytes \xFF\xD9", 21);
    command_.run(down(4, "Front door; rm -rf $HOME"), jpeg);
    ASSERT_TRUE(allEnded());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "TOLVANE_CAM=Front door; rm -rf $HOME");
    EXPECT_TRUE(lines[1].startsWith("TOLVANE_PICTURE=" + QDir::tempPath() + "/tolvane-alert-"));
    EXPECT_TRUE(lines[1].endsWith(".jpg"));
    EXPECT_EQ(lines[2], "TOLVANE_REASON=connection refused");
    EXPECT_EQ(lines[3], "TOLVANE_SINCE=2026-05-07T14:02:05+02:00");
    EXPECT_EQ(lines[4], "TOLVANE_STATE=failing");
    EXPECT_EQ(lines[5], "third=$HOME and `id`");
    QFile copied(out + ".picture");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), jpeg);
    // Written for the hook, and removed after it.
    EXPECT_FALSE(QFile::exists(lines[1].mid(QStringLiteral("TOLVANE_PICTURE=").size())));
}

TEST_F(Hook, ABackAlertSaysOkWithoutReasonAndNoPictureIsAnEmptyPath)
{
    const QString out = folder_.filePath("env.txt");
    command_.setCommandLine(script("hook", "env | grep '^TOLVANE_' | sort > " + out));
    CamAlertEvent back = down(2, "Yard");
    back.back = true;
    back.state = CamState::Ok;
    command_.run(back, {});
    ASSERT_TRUE(allEnded());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains("TOLVANE_STATE=ok\n"));
    EXPECT_TRUE(text.contains("TOLVANE_REASON=\n"));
    EXPECT_TRUE(text.contains("TOLVANE_PICTURE=\n"));
}

TEST_F(Hook, ASleepingHookIsStoppedAtItsLimitWithoutHoldingTheCaller)
{
    EXPECT_EQ(AlertCommand::kTimeLimitMs, 10000);
    command_.setTimeLimitMs(300);
    command_.setCommandLine(script("sleeper", "exec sleep 30"));
    QElapsedTimer timer;
    timer.start();
    command_.run(down(1, "Gate"), {});
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(command_.running(), 1);
    ASSERT_TRUE(allEnded());
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(log_.lines().filter("alert command for Gate still ran after 0.3 s: stopped").size(), 1);
}

TEST_F(Hook, OneRunsPerCamAndTheCamsNextAlertWaitsForIt)
{
    const QString out = folder_.filePath("order.txt");
    command_.setCommandLine(script("slow",
                                   "echo \"$TOLVANE_CAM $TOLVANE_STATE start\" >> " + out +
                                       "\nsleep 0.3\necho \"$TOLVANE_CAM $TOLVANE_STATE end\" >> " + out));
    CamAlertEvent back = down(1, "Gate");
    back.back = true;
    back.state = CamState::Ok;
    command_.run(down(1, "Gate"), {});
    command_.run(back, {});
    command_.run(down(2, "Yard"), {});
    EXPECT_EQ(command_.running(), 2);
    EXPECT_EQ(command_.waiting(), 1);
    ASSERT_TRUE(allEnded());
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList gate = lines.filter("Gate");
    EXPECT_EQ(gate, QStringList({"Gate failing start", "Gate failing end", "Gate ok start", "Gate ok end"}));
    EXPECT_EQ(lines.filter("Yard").size(), 2);
}

TEST_F(Hook, AMissingProgramIsLoggedAndTheNextAlertStillRuns)
{
    command_.setCommandLine(folder_.filePath("no such hook"));
    command_.run(down(3, "Porch"), QByteArray("\xFF\xD8", 2));
    command_.run(down(3, "Porch"), {});
    ASSERT_TRUE(allEnded());
    EXPECT_EQ(log_.lines().filter("alert command for Porch could not start").size(), 2);
    // The picture written for it is gone too.
    EXPECT_TRUE(QDir::temp().entryList({"tolvane-alert-*"}).isEmpty());
}

TEST_F(Hook, OutputAndAFailingExitStatusGoToTheLog)
{
    command_.setCommandLine(script("talker", "echo 'mail sent'\necho 'no route' >&2\nexit 3"));
    command_.run(down(0, "Shed"), {});
    ASSERT_TRUE(allEnded());
    EXPECT_TRUE(log_.lines().contains("alert command for Shed: mail sent"));
    EXPECT_TRUE(log_.lines().contains("alert command for Shed: no route"));
    EXPECT_TRUE(log_.lines().contains("alert command for Shed exited with status 3"));
}

TEST_F(Hook, NoCommandRunsNothing)
{
    command_.setCommandLine("  ");
    command_.run(down(0, "Shed"), {});
    EXPECT_EQ(command_.running(), 0);
    EXPECT_TRUE(log_.lines().isEmpty());
}
