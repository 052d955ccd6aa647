// The cam list box filled from the cam list file.
#include <QListWidget>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

#include "CamList.h"
#include "CamListBox.h"
#include "CamListTestSupport.h"

namespace {
class CamListBox : public ProgramFolderTest {
protected:
    void setBytes(const QByteArray& content) { WriteBytes(CamListPath(), content); }
};
}  // namespace

TEST_F(CamListBox, FillsWithoutSelectionAndReloadReplacesTheEntries)
{
    setBytes("[name]A\r\nu\r\n1\r\n[name]B\r\nu\r\n2\r\n");
    QListWidget list;
    list.addItem("kept");
    list.setCurrentRow(0);
    ASSERT_TRUE(list.currentItem()->isSelected());
    LoadCamList(&list);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.item(2)->text(), "B");
    EXPECT_TRUE(list.selectedItems().isEmpty());
    EXPECT_TRUE(list.updatesEnabled());

    list.setCurrentRow(1);
    ReloadCamList(&list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), "A");
    EXPECT_TRUE(list.selectedItems().isEmpty());
}

TEST_F(CamListBox, AFileFailureThrowsWithTheFileAndTheReasonAndLeavesTheBoxAsItWas)
{
    // The program folder's path is taken by a file: nothing can be created below it.
    WriteBytes(path("blocker"), "x");
    SetProgramFolder(path("blocker"));
    QListWidget list;
    list.addItem("kept");
    try {
        LoadCamList(&list);
        FAIL() << "no error";
    } catch (const CamListError& error) {
        EXPECT_TRUE(error.message().contains(path("blocker"))) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains("Not a directory")) << error.message().toStdString();
    }
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.updatesEnabled());

    // A box filled before keeps its entries when the file has gone since.
    SetProgramFolder(folder());
    setBytes("[name]A\r\nu\r\n1\r\n");
    LoadCamList(&list);
    ASSERT_TRUE(QFile::remove(CamListPath()));
    EXPECT_THROW(ReloadCamList(&list), CamListError);
    EXPECT_EQ(list.count(), 2);
}

TEST_F(CamListBox, AHugeNameIsDrawnShortenedAndKeptWholeInTheBox)
{
    // A damaged list can hold a name of megabytes; laying it out whole held the window for minutes.
    const QString huge(4 * 1024 * 1024, QLatin1Char('x'));
    setBytes("[name]" + huge.toLatin1() + "\r\nu\r\n1\r\n[name]B\r\nu\r\n2\r\n");
    QListWidget list;
    LoadCamList(&list);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0)->text(), huge);  // what finds the cam in the file

    // Drawn as the name cut to its shown length with an ellipsis, and a short name as it is.
    QListWidget reference;
    reference.addItem(QString(kLongestShownCamName, QLatin1Char('x')) + QChar(0x2026));
    reference.addItem(QStringLiteral("B"));
    QStyleOptionViewItem option;
    option.initFrom(&list);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(list.itemDelegate()->sizeHint(option, list.model()->index(row, 0)),
                  reference.itemDelegate()->sizeHint(option, reference.model()->index(row, 0)))
            << row;
    }
}
