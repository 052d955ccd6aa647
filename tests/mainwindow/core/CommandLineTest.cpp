// The command line: options, their errors, and where the program folder comes from.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "CommandLine.h"
#include "ProductInfo.h"
#include "ProgramFolder.h"

namespace {
CommandLineResult Parse(QStringList args)
{
    args.prepend(QStringLiteral("tolvane"));
    return ParseCommandLine(args);
}

TEST(CommandLine, NoOptionsRunsWithDefaults)
{
    const CommandLineResult r = Parse({});
    ASSERT_EQ(r.action, CommandLineAction::Run);
    EXPECT_TRUE(r.options.home.isEmpty());
    EXPECT_FALSE(r.options.demo);
    EXPECT_TRUE(r.options.openNames.isEmpty());
    EXPECT_FALSE(r.options.fullscreen);
}

TEST(CommandLine, RepeatedOpenKeepsTheOrderGiven)
{
    const CommandLineResult r =
        Parse({QStringLiteral("--open"), QStringLiteral("Harbour"), QStringLiteral("--open=Main Street"),
               QStringLiteral("--fullscreen"), QStringLiteral("--open"), QStringLiteral("Airport")});
    ASSERT_EQ(r.action, CommandLineAction::Run);
    EXPECT_EQ(r.options.openNames, (QStringList{"Harbour", "Main Street", "Airport"}));
    EXPECT_TRUE(r.options.fullscreen);
}

TEST(CommandLine, HomeAndDemo)
{
    const CommandLineResult r =
        Parse({QStringLiteral("--home"), QStringLiteral("/srv/cams"), QStringLiteral("--demo")});
    ASSERT_EQ(r.action, CommandLineAction::Run);
    EXPECT_EQ(r.options.home, QStringLiteral("/srv/cams"));
    EXPECT_TRUE(r.options.demo);
}

TEST(CommandLine, HelpAndVersionAreAnsweredWithoutRunning)
{
    const CommandLineResult help = Parse({QStringLiteral("--help")});
    EXPECT_EQ(help.action, CommandLineAction::ShowHelp);
    EXPECT_TRUE(help.text.contains(QStringLiteral("--open")));
    EXPECT_TRUE(help.text.contains(QStringLiteral("--home")));
    // The time-lapse command has a parser of its own, but a user learns of it here.
    EXPECT_TRUE(help.text.contains(QStringLiteral("--timelapse CAM --from ISO --to ISO")));
    EXPECT_TRUE(help.text.contains(QStringLiteral("--out FILE [--overwrite]")));
    const CommandLineResult version = Parse({QStringLiteral("--version")});
    EXPECT_EQ(version.action, CommandLineAction::ShowVersion);
    EXPECT_EQ(version.text, ProductName() + QLatin1Char(' ') + VersionText());
}

class BadCommandLine : public testing::TestWithParam<QStringList> { };

TEST_P(BadCommandLine, IsAnErrorWithAMessage)
{
    const CommandLineResult r = Parse(GetParam());
    EXPECT_EQ(r.action, CommandLineAction::Error);
    EXPECT_FALSE(r.text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, BadCommandLine,
                         testing::Values(QStringList{"--open"}, QStringList{"--home"}, QStringList{"--home="},
                                         QStringList{"--frobnicate"}, QStringList{"stray"}));

TEST(ProgramFolderChoice, HomeOptionWinsOverTheEnvironment)
{
    EXPECT_EQ(ResolveProgramFolder("/a/home", "/b/env", "/c/exe"), QStringLiteral("/a/home"));
}

TEST(ProgramFolderChoice, EnvironmentWinsOverTheExecutableFolder)
{
    EXPECT_EQ(ResolveProgramFolder({}, "/b/env", "/c/exe"), QStringLiteral("/b/env"));
}

TEST(ProgramFolderChoice, ExecutableFolderWhenNothingElseIsGiven)
{
    EXPECT_EQ(ResolveProgramFolder({}, {}, "/c/exe/"), QStringLiteral("/c/exe"));
}

TEST(ProgramFolderChoice, RelativeHomeIsTakenFromTheCurrentFolder)
{
    EXPECT_EQ(ResolveProgramFolder("cams/../mine", {}, "/c/exe"), QDir::current().absoluteFilePath("mine"));
}
TEST(ProgramFolderChoice, InstalledProgramUsesTheUserDataFolderUnlessHomeOrTheEnvironmentSay)
{
    const QString data = QStringLiteral("/home/u/.local/share/tolvane");
    EXPECT_EQ(ResolveProgramFolder({}, {}, "/usr/bin", data), data);
    EXPECT_EQ(ResolveProgramFolder({}, "/b/env", "/usr/bin", data), QStringLiteral("/b/env"));
    EXPECT_EQ(ResolveProgramFolder("/a/home", {}, "/usr/bin", data), QStringLiteral("/a/home"));
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(InstallLayout, AnExecutableWithTheInstalledShareFolderBesideItsBinFolderIsInstalled)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    ASSERT_TRUE(QDir().mkpath(bin));
    // A build folder or a copy on its own: no share/tolvane beside it.
    EXPECT_FALSE(IsInstalledExecutable(bin));
    EXPECT_EQ(InstalledDataFolder(bin), QString());
    EXPECT_FALSE(IsInstalledExecutable(QString()));

    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("usr/share/tolvane"))));
    EXPECT_TRUE(IsInstalledExecutable(bin));
    EXPECT_TRUE(IsInstalledExecutable(bin + QLatin1Char('/')));
    EXPECT_EQ(InstalledDataFolder(bin), root.filePath(QStringLiteral("usr/share/tolvane")));
    // Another bin folder of the same tree is no install of this program.
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("opt/bin"))));
    EXPECT_FALSE(IsInstalledExecutable(root.filePath(QStringLiteral("opt/bin"))));
}

TEST(InstallLayout, TheUserDataFolderFollowsXdgDataHomeElseTheHomeFolder)
{
    {
        ScopedEnvironment data("XDG_DATA_HOME", "/srv/data");
        EXPECT_EQ(UserDataProgramFolder(), QStringLiteral("/srv/data/tolvane"));
    }
    ScopedEnvironment home("HOME", "/home/someone");
    {
        // A relative one is ignored: it would depend on the folder the program is started from.
        ScopedEnvironment data("XDG_DATA_HOME", "data");
        EXPECT_EQ(UserDataProgramFolder(), QStringLiteral("/home/someone/.local/share/tolvane"));
    }
    ScopedEnvironment data("XDG_DATA_HOME", QByteArray());
    EXPECT_EQ(UserDataProgramFolder(), QStringLiteral("/home/someone/.local/share/tolvane"));
}
}  // namespace
