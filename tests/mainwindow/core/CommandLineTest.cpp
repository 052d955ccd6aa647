// The command line: options, their errors, and where the program folder comes from.
#include <gtest/gtest.h>

#include <QDir>

#include "CommandLine.h"
#include "ProductInfo.h"

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
}  // namespace
