// The real program asked to stop by the system (Ctrl-C, kill, a closed terminal) ends as its
// Exit command ends it: a normal exit, and the demo folder without pictures removed, not left
// behind in the temporary folder at every stop.
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <string>

namespace {
class EndOnSignalsTest : public testing::TestWithParam<int> { };

TEST_P(EndOnSignalsTest, TheDemoEndsAsItsExitCommandEndsIt)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    ASSERT_TRUE(QDir(temp.path()).mkpath("home"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", temp.path());
    env.insert("HOME", temp.filePath("home"));
    env.insert("XDG_CONFIG_HOME", temp.filePath("home/.config"));
    env.insert("XDG_DATA_HOME", temp.filePath("home/.local/share"));
    env.remove("TOLVANE_HOME");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TOLVANE_EXECUTABLE, {"--demo"});
    ASSERT_TRUE(program.waitForStarted(30000));

    // The demo says where its folder is once the folder has been made.
    const QRegularExpression folderLine(QStringLiteral("folder (\\S+)\n"));
    QString out;
    QRegularExpressionMatch match;
    while (!(match = folderLine.match(out)).hasMatch() && program.waitForReadyRead(60000))
        out += QString::fromUtf8(program.readAllStandardOutput());
    ASSERT_TRUE(match.hasMatch()) << out.toStdString() << program.readAllStandardError().toStdString();
    const QString folder = match.captured(1);
    ASSERT_TRUE(QDir(folder).exists()) << folder.toStdString();

    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), GetParam()), 0);
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_FALSE(QDir(folder).exists()) << folder.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Signals, EndOnSignalsTest, testing::Values(SIGINT, SIGTERM, SIGHUP), [](const testing::TestParamInfo<int>& info) {
        return std::string(info.param == SIGINT ? "Interrupt" : info.param == SIGTERM ? "Terminate" : "HangUp");
    });
}  // namespace
