#include <QCoreApplication>
#include <gtest/gtest.h>

#include "CamCommands.h"
#include "FolderTestSupport.h"
#include "Form4.h"
#include "Form8.h"
#include "ProductInfo.h"
#include "PseudoLanguage.h"
#include "SecondaryWindows.h"
#include "Translations.h"
#include "frmAbout.h"
#include "frmTimelapse.h"

namespace {
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
