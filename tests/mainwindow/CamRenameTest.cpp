// Renaming a cam in Edit takes its saved pictures along in the picture index: the history bar
// and the time-lapse of the new name find them.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "CamCommands.h"
#include "CamDialogs.h"
#include "MainWindowFixture.h"
#include "PictureIndex.h"

namespace {
TEST_F(MainWindowTest, RenamingACamInEditTakesItsSavedPicturesAlong)
{
    ListCams({QStringLiteral("Harbour"), QStringLiteral("Airport")});
    {
        PictureIndex index;
        PictureRecord r;
        r.taken = QDateTime(QDate(2026, 2, 5), QTime(10, 15, 0));
        for (const QString cam : {"Harbour", "Airport"}) {
            r.cam = cam;
            r.file = cam + QStringLiteral("1.jpg");
            ASSERT_TRUE(index.add(r)) << index.errorText().toStdString();
        }
    }
    Form1& f = loadedForm();
    for (const auto& [cam, name] : {std::pair{"Harbour", "Harbour Bay"}, std::pair{"Airport", "Airport"}}) {
        const QList<QListWidgetItem*> items = f.List1->findItems(QString::fromUtf8(cam), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << cam;
        f.List1->setCurrentItem(items[0]);
        f.camCommands->cmdEdit_Click();
        Form3* edit = f.camCommands->form3();
        ASSERT_NE(edit, nullptr);
        edit->Text1->setText(QString::fromUtf8(name));
        edit->Text2->setText(QStringLiteral("http://127.0.0.1:9/new.jpg"));  // an address alone renames nothing
        edit->Command1->click();
    }
    PictureIndex index;
    EXPECT_TRUE(index.pictures(QStringLiteral("Harbour")).isEmpty());
    EXPECT_EQ(index.pictures(QStringLiteral("Harbour Bay")).size(), 1);
    EXPECT_EQ(index.pictures(QStringLiteral("Airport")).size(), 1);
}
}  // namespace
