#include "CamDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "CamListBox.h"
#include "ProductInfo.h"
#include "Prompt.h"

namespace {
const QString kUrlTip = QStringLiteral(
    "enter the exact path to the image (found by right clicking an image in your browser and selecting \"properties\"");
constexpr int kRefreshMaxLength = 3;  // characters: at most 999 seconds
}  // namespace

void ShowCamListError(const CamListError& error, QWidget* parent)
{
    CurrentPrompt().ask(QStringLiteral(":: error"), error.message(), PromptButtons::Ok, parent);
}

CamDialog::CamDialog(const QString& objectName, QListWidget* List1, QWidget* parent) : QDialog(parent), List1_(List1)
{
    setObjectName(objectName);
    setModal(false);
    auto makeLabel = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    auto makeText = [this](const char* name) {
        auto* text = new QLineEdit(this);
        text->setObjectName(QLatin1String(name));
        return text;
    };
    Label1 = makeLabel("Label1", QStringLiteral("Name:"));
    Text1 = makeText("Text1");
    Label2 = makeLabel("Label2", QStringLiteral("URL:"));
    Text2 = makeText("Text2");
    Text2->setToolTip(kUrlTip);
    Label3 = makeLabel("Label3", QStringLiteral("Refresh:"));
    Text3 = makeText("Text3");
    Text3->setMaxLength(kRefreshMaxLength);
    // Wide enough for the three characters it takes, in pixels.
    Text3->setMaximumWidth(Text3->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    Text3->setToolTip(QStringLiteral("Enter the time in seconds"));
    Label4 = makeLabel("Label4", QStringLiteral("seconds"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    grid_ = new QGridLayout(this);
    grid_->addWidget(Label1, 0, 0);
    grid_->addWidget(Text1, 0, 1, 1, 3);
    grid_->addWidget(Label2, 1, 0);
    grid_->addWidget(Text2, 1, 1, 1, 3);
    grid_->addWidget(Label3, 2, 0);
    grid_->addWidget(Text3, 2, 1);
    grid_->addWidget(Label4, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid_->addLayout(buttons, 4, 0, 1, 4);
    grid_->setColumnStretch(3, 1);
    Text1->setMinimumWidth(320);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, &CamDialog::Command2_Click);
}

CamRecord CamDialog::typedRecord() const
{
    return {Text1->text(), Text2->text(), Text3->text()};
}

void CamDialog::Command2_Click()
{
    reject();
}

bool CamDialog::ValidateTexts()
{
    if (!Text1->text().isEmpty() && !Text2->text().isEmpty() && !Text3->text().isEmpty())
        return true;
    CurrentPrompt().ask(QStringLiteral(":: error"), QStringLiteral("you must enter all information"), PromptButtons::Ok,
                        this);
    return false;
}

void CamDialog::ReloadList()
{
    try {
        ReloadCamList(List1_.data());
    } catch (const CamListError& error) {
        ShowCamListError(error, this);
    }
}

Form2::Form2(QListWidget* List1, QWidget* parent) : CamDialog(QStringLiteral("Form2"), List1, parent)
{
    setWindowTitle(ProductName() + QStringLiteral(" :: Add a Cam"));
    Text1->setText(QStringLiteral("My Cam"));
    Text1->setToolTip(QStringLiteral("create a unique name"));
    Text2->setText(QStringLiteral("http://"));
    Text3->setText(QStringLiteral("60"));
}

void Form2::Command1_Click()
{
    if (!ValidateTexts())
        return;
    const CamRecord record = typedRecord();
    try {
        AppendCamRecord(record.name, record.url, record.refresh);
    } catch (const CamListError& error) {
        // Nothing was written; the dialog stays open with everything the user typed.
        ShowCamListError(error, this);
        return;
    }
    ReloadList();
    accept();
}

Form3::Form3(QListWidget* List1, UpdateOpenSlots updateOpenSlots, QWidget* parent)
    : CamDialog(QStringLiteral("Form3"), List1, parent), updateOpenSlots_(std::move(updateOpenSlots))
{
    Text1->setToolTip(QStringLiteral("Create a unique name for the cam"));
    Label5 = new QLabel(QStringLiteral("(Cams that are already open will need to be restarted)"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    grid_->addWidget(Label5, 3, 0, 1, 4);
}

void Form3::Form_Load(const QString& entry)
{
    editing_ = FindCamRecord(entry);
    if (!editing_)
        return;
    setWindowTitle(editing_->name);
    Text1->setText(editing_->name);
    Text2->setText(editing_->url);
    // The three characters are a limit for typing: a longer stored text ("3600") is shown whole,
    // so that OK writes it back unchanged when only the name or the address was edited.
    Text3->setMaxLength(qMax(kRefreshMaxLength, int(editing_->refresh.size())));
    Text3->setText(editing_->refresh);
}

void Form3::Command1_Click()
{
    if (!ValidateTexts())
        return;
    const CamRecord edited = typedRecord();
    try {
        if (editing_)
            ReplaceCamRecord(*editing_, edited);
        else
            AppendCamRecord(edited.name, edited.url, edited.refresh);
    } catch (const CamListError& error) {
        // The file is as it was (the edit is one atomic rewrite); keep the texts for another try.
        ShowCamListError(error, this);
        return;
    }
    ReloadList();
    if (updateOpenSlots_)
        updateOpenSlots_(windowTitle(), edited);
    accept();
}
