// README.md's "Settings" section and the help file against the program: every key the program
// reads has a README row with its default and a mention in Help.rtf, every README row is a key
// the program reads, and the sample files in README are what the stores really write.
#include <QDirIterator>
#include <QRegularExpression>
#include <QStringList>
#include <map>

#include "FolderTestSupport.h"
#include "Options.h"
#include "SettingKeys.h"
#include "Settings.h"

namespace {
const QString kReadme = QStringLiteral(TOLVANE_SOURCE_DIR "/README.md");
const QString kHelp = QStringLiteral(TOLVANE_SOURCE_DIR "/resources/Help.rtf");

// The header that names the keys, wherever the source tree keeps it.
QString KeysHeader()
{
    QDirIterator files(QStringLiteral(TOLVANE_SOURCE_DIR "/src"), {QStringLiteral("SettingKeys.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    return files.hasNext() ? files.next() : QString();
}

// The lines of README.md's "Settings" section (up to the next "## " heading).
QStringList SettingsSection()
{
    const QStringList lines = QString::fromUtf8(FileBytes(kReadme)).split(QLatin1Char('\n'));
    QStringList section;
    bool inside = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("## ")))
            inside = line == QLatin1String("## Settings");
        else if (inside)
            section << line;
    }
    return section;
}

// Key -> default of the section's table rows: | `key` | store | values | `default` or empty |
std::map<QString, QString> ReadmeKeys()
{
    static const QRegularExpression row(QStringLiteral(R"(^\|\s*`([^`]+)`\s*\|.*\|\s*(?:`([^`]*)`|(empty))\s*\|\s*$)"));
    std::map<QString, QString> keys;
    for (const QString& line : SettingsSection()) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            keys[match.captured(1)] = match.captured(2);
    }
    return keys;
}

// Key -> default of every key the program reads: the named keys and the Options dialog's rows.
std::map<QString, QString> ProgramKeys()
{
    std::map<QString, QString> keys;
    for (const SettingKey& key : SettingKeys::All)
        keys[key.Name()] = key.Default();
    for (const OptionRow& row : OptionRows())
        keys.emplace(row.key, row.defaultValue);
    return keys;
}

// The sample files of the section: its indented blocks, in order.
QStringList SampleBlocks()
{
    QStringList blocks;
    QString block;
    for (const QString& line : SettingsSection()) {
        if (line.startsWith(QLatin1String("      "))) {
            block += line.trimmed() + QLatin1Char('\n');
        } else if (!block.isEmpty()) {
            blocks << block;
            block.clear();
        }
    }
    return blocks;
}

TEST(SettingsDocumentation, EveryKeyTheProgramReadsHasAReadmeRowWithItsDefaultAndALineInTheHelp)
{
    const std::map<QString, QString> readme = ReadmeKeys();
    ASSERT_FALSE(readme.empty()) << "README.md has no \"## Settings\" section with a table of keys";
    const QString help = QString::fromLatin1(FileBytes(kHelp));
    for (const auto& [name, defaultValue] : ProgramKeys()) {
        const QString shownDefault =
            defaultValue.isEmpty() ? QStringLiteral("empty") : QLatin1Char('`') + defaultValue + QLatin1Char('`');
        const auto documented = readme.find(name);
        EXPECT_TRUE(documented != readme.end())
            << "The program reads the setting \"" << name.toStdString()
            << "\", which README.md does not document. Add a row to the table under \"## Settings\" in "
               "README.md:\n| `"
            << name.toStdString() << "` | main or per-user | <its values and what they do> | "
            << shownDefault.toStdString() << " |";
        if (documented != readme.end()) {
            EXPECT_EQ(documented->second, defaultValue)
                << "README.md gives \"" << name.toStdString()
                << "\" another default than the program; make the last cell of its row " << shownDefault.toStdString();
        }
        EXPECT_TRUE(help.contains(name))
            << "resources/Help.rtf does not mention the setting \"" << name.toStdString()
            << "\"; describe it in the help's \"Settings files\" part, as README.md's \"Settings\" section does.";
    }
}

TEST(SettingsDocumentation, EveryKeyInTheReadmeIsOneTheProgramReads)
{
    const std::map<QString, QString> program = ProgramKeys();
    for (const auto& [name, defaultValue] : ReadmeKeys())
        EXPECT_TRUE(program.count(name)) << "README.md's \"Settings\" section documents \"" << name.toStdString()
                                         << "\", which the program does not read. Remove the row, or name the key in "
                                            "SettingKeys.h (and its list All), or give it a row of the Options dialog.";
}

TEST(SettingsDocumentation, EveryNamedKeyIsInTheListOfAllKeys)
{
    // The list is what the checks above see; a key named in the header but left out of it
    // would escape them.
    static const QRegularExpression declaration(
        QStringLiteral(R"re(inline constexpr SettingKey (\w+)\{\s*"[^"]*",\s*"([^"]+)")re"));
    const QString headerPath = KeysHeader();
    ASSERT_FALSE(headerPath.isEmpty()) << "no SettingKeys.h below src/";
    const QString header = QString::fromUtf8(FileBytes(headerPath));
    int declared = 0;
    for (const QRegularExpressionMatch& match : declaration.globalMatch(header)) {
        ++declared;
        const QString name = match.captured(2);
        const bool listed = std::any_of(std::begin(SettingKeys::All), std::end(SettingKeys::All),
                                        [&](const SettingKey& key) { return key.Name() == name; });
        EXPECT_TRUE(listed) << "SettingKeys.h names the key \"" << name.toStdString()
                            << "\" (SettingKeys::" << match.captured(1).toStdString()
                            << ") but leaves it out of SettingKeys::All; add it there.";
    }
    EXPECT_EQ(declared, static_cast<int>(std::size(SettingKeys::All)));
}

TEST(SettingsDocumentation, EachReadmeRowNamesTheStoreItsKeyIsKeptIn)
{
    static const QRegularExpression row(QStringLiteral(R"(^\|\s*`([^`]+)`\s*\|\s*([^|]*?)\s*\|)"));
    std::map<QString, QString> stores;
    for (const QString& line : SettingsSection()) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            stores[match.captured(1)] = match.captured(2);
    }
    for (const SettingKey& key : SettingKeys::All) {
        const QString store = key.store == SettingStore::Main ? QStringLiteral("main")
            : key.store == SettingStore::User                 ? QStringLiteral("per-user")
                                                              : QStringLiteral("per-user, then main");
        EXPECT_EQ(stores[key.Name()], store)
            << "README.md's row of \"" << key.name << "\" names another store than SettingKeys.h gives it";
    }
}

class SettingsSampleFiles : public ProgramFolderTest {
protected:
    void TearDown() override
    {
        SetUserSettingsPath(QString());
        ProgramFolderTest::TearDown();
    }
};

TEST_F(SettingsSampleFiles, AreWhatTheStoresWrite)
{
    const QStringList blocks = SampleBlocks();
    ASSERT_EQ(blocks.size(), 2) << "README.md's \"Settings\" section should show two sample files: main, per-user";
    SetUserSettingsPath(path(QStringLiteral("user.ini")));

    // The values of README's samples, written as the program writes them.
    WriteSetting(SettingKeys::autoSave, QStringLiteral("1"));
    WriteSetting(SettingKeys::timeServer, QStringLiteral("time.example.net:13"));
    SaveUserSetting(SettingKeys::showHelp, QStringLiteral("0"));
    SaveUserSetting(SettingKeys::IgnorePermissionDeniedError, QStringLiteral("1"));
    SaveUserSetting(SettingKeys::sessionCams, QStringLiteral("Harbour\nBridge"));
    SaveUserSetting(SettingKeys::sessionZoom, QStringLiteral("2"));

    EXPECT_EQ(blocks[0], QString::fromUtf8(FileBytes(MainSettingsPath())).trimmed() + QLatin1Char('\n'));
    EXPECT_EQ(blocks[1], QString::fromUtf8(FileBytes(path(QStringLiteral("user.ini")))).trimmed() + QLatin1Char('\n'));
}
}  // namespace
