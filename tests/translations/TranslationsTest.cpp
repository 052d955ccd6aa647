#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTranslator>
#include <algorithm>
#include <gtest/gtest.h>

#include "CamCommands.h"
#include "FolderTestSupport.h"
#include "Form4.h"
#include "Form8.h"
#include "ProductInfo.h"
#include "SecondaryWindows.h"
#include "Translations.h"
#include "frmAbout.h"
#include "frmTimelapse.h"

namespace {
// A language that marks every text it is asked for: a text a window shows unmarked never went
// through the translation system, and no translator could ever reach it.
class BracketLanguage : public QTranslator {
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QLatin1Char('[') + QString::fromUtf8(source) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }
};

// What is left of text once the marked parts and the data (names, numbers, addresses) are
// taken out: words there were never translated.
QString unmarked(QString text, QStringList data)
{
    static const QRegularExpression marked(QStringLiteral("\\[[^\\[\\]]*\\]"));
    // The longest first: a name may hold a shorter one ("Tolvane Project", "Tolvane").
    std::sort(data.begin(), data.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& datum : data)
        text.remove(datum);
    text.remove(marked);
    static const QRegularExpression letters(QStringLiteral("\\p{L}"));
    return text.contains(letters) ? text.trimmed() : QString();
}

// Every text the window shows: its title, labels, buttons, group boxes, lists and tool tips.
QStringList unmarkedTexts(const QWidget* window, const QStringList& data)
{
    QStringList texts{window->windowTitle()};
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window))
            continue;
        texts << widget->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
            texts << box->title();
    }
    QStringList left;
    for (const QString& text : texts)
        if (const QString rest = unmarked(text, data); !rest.isEmpty())
            left << rest;
    return left;
}

class PseudoLanguage : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        QCoreApplication::installTranslator(&language);
    }
    void TearDown() override
    {
        UnloadSecondaryWindows();
        QCoreApplication::removeTranslator(&language);
        ProgramFolderTest::TearDown();
    }
    BracketLanguage language;
    // Names the program is given, not words it says.
    const QStringList productData{CopyrightNotice(), ProductName(), CompanyName(), WebAddress(), VersionText()};
};

TEST_F(PseudoLanguage, EveryTextOfTheSecondaryWindowsTheNoticeAndTheTimelapseDialogIsTranslated)
{
    frmAbout* about = ShowAbout(nullptr);
    ASSERT_TRUE(about);
    EXPECT_EQ(unmarkedTexts(about, productData), QStringList());
    EXPECT_EQ(about->windowTitle(), "[About Tolvane]");

    WriteBytes(path("Help.rtf"), "{\\rtf1 Help}");
    ASSERT_TRUE(ShowHelp(nullptr));
    EXPECT_EQ(unmarkedTexts(LoadedHelp(), productData + QStringList{"Help"}), QStringList());

    frmTimelapse* timelapse = ShowTimelapse(nullptr, {"Harbour"}, "Harbour");
    ASSERT_TRUE(timelapse);
    EXPECT_EQ(unmarkedTexts(timelapse, productData + QStringList{"Harbour"}), QStringList());
    delete timelapse;

    ShowNotice(nullptr);
    ASSERT_TRUE(NoticeWindow());
    EXPECT_EQ(unmarkedTexts(NoticeWindow(), productData), QStringList());
    UnloadNotice();
}

// English is the language the texts are written in: an English user sees them as written even
// when a translated language follows in the list, and a user of an untranslated language too.
TEST(Translations, TheFirstLanguageThatIsEnglishOrTranslatedIsShown)
{
    const QStringList translated = TranslatedLanguages();
    EXPECT_TRUE(translated.contains("de") && translated.contains("fr")) << translated.join(' ').toStdString();
    EXPECT_EQ(ChooseLanguage({"en-US", "de-DE"}, translated), "");
    EXPECT_EQ(ChooseLanguage({"de-AT", "fr"}, translated), "de");
    EXPECT_EQ(ChooseLanguage({"pt-BR", "fr-CA", "de"}, translated), "fr");
    EXPECT_EQ(ChooseLanguage({"pt-BR", "ja"}, translated), "");
    EXPECT_EQ(ChooseLanguage({"C"}, translated), "");

    EXPECT_EQ(InstallTranslations(QLocale("de_DE")), "de");
    EXPECT_EQ(QCoreApplication::translate("frmAbout", "About %1"), "Über %1");
    EXPECT_EQ(InstallTranslations(QLocale("fr_FR")), "fr");
    EXPECT_EQ(QCoreApplication::translate("frmAbout", "About %1"), "À propos de %1");
    EXPECT_EQ(InstallTranslations(QLocale("en_US")), "");
    EXPECT_EQ(QCoreApplication::translate("frmAbout", "About %1"), "About %1");
}
}  // namespace
