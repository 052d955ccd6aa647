#include "CamDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QUrl>

#include "CamListBox.h"
#include "CamSettings.h"
#include "Files.h"
#include "ProductInfo.h"
#include "Prompt.h"
#include "RecordSchedule.h"
#include "SettingKeys.h"

namespace {
constexpr int kRefreshMaxLength = 3;  // characters: at most 999 seconds
constexpr int kLongestRefresh = 999;  // seconds
// cboRecord's items.
constexpr int kRecordNot = 0;
constexpr int kRecordForAll = 1;
constexpr int kRecordBetween = 2;
constexpr int kRecordDaylight = 3;

void ShowDialogError(const QString& text, QWidget* parent)
{
    CurrentPrompt().ask(QCoreApplication::translate("CamDialog", ":: error"), text, PromptButtons::Ok, parent);
}

// Digits only, 1 to 999; a stored text kept unchanged passes when it is any whole number of
// seconds, so a cam list edited by hand ("3600") is written back as it stands.
bool IsRefreshText(const QString& text, const QString& keptRefresh)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(text).hasMatch())
        return false;
    bool isNumber = false;
    const qlonglong seconds = text.toLongLong(&isNumber);
    if (!isNumber || seconds < 1)
        return false;
    return seconds <= kLongestRefresh || text == keptRefresh;
}
}  // namespace

void ShowCamListError(const CamListError& error, QWidget* parent)
{
    ShowDialogError(error.message(), parent);
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
    Label1 = makeLabel("Label1", tr("Name:"));
    Text1 = makeText("Text1");
    Label2 = makeLabel("Label2", tr("URL:"));
    Text2 = makeText("Text2");
    Text2->setToolTip(tr("enter the exact path to the image (found by right clicking an image in your browser and "
                         "selecting \"properties\""));
    Label3 = makeLabel("Label3", tr("Refresh:"));
    Text3 = makeText("Text3");
    setRefreshDigits(kRefreshMaxLength);
    // Wide enough for the three characters it takes, in pixels.
    Text3->setMaximumWidth(Text3->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    Text3->setToolTip(tr("Enter the time in seconds"));
    Label4 = makeLabel("Label4", tr("seconds"));
    lblRefreshRule = makeLabel("lblRefreshRule", tr("(digits only, 1 to 999)"));
    lblRefreshRule->setEnabled(false);  // a hint, drawn grey
    lblNewPictureRule = makeLabel("lblNewPictureRule", tr("New picture:"));
    cboNewPictureRule = new QComboBox(this);
    cboNewPictureRule->setObjectName(QStringLiteral("cboNewPictureRule"));
    cboNewPictureRule->addItem(tr("Use the Options' rule"), QString());
    for (const SettingChoice& choice : SettingKeys::kNewPictureRules)
        cboNewPictureRule->addItem(QCoreApplication::translate("SettingKeys", choice.label),
                                   QString::fromLatin1(choice.value));
    cboNewPictureRule->setToolTip(tr("What makes a picture of this cam new (saved by AutoSave, kept in "
                                     "the history): the rule in Options, or one for this cam alone"));
    chkAutoSave = new QCheckBox(tr("Save this cam's new pictures"), this);
    chkAutoSave->setObjectName(QStringLiteral("chkAutoSave"));
    chkAutoSave->setToolTip(tr("While AutoSave New Pictures is ticked, this cam's new pictures are saved; "
                               "untick it to pass this cam over."));
    chkAutoSave->setChecked(true);
    lblRecord = makeLabel("lblRecord", tr("Record:"));
    cboRecord = new QComboBox(this);
    cboRecord->setObjectName(QStringLiteral("cboRecord"));
    cboRecord->addItem(tr("Not by the recorder"), QString());
    cboRecord->addItem(tr("By the recorder (tolvane --record), on the schedule for all"), QStringLiteral("1"));
    cboRecord->addItem(tr("By the recorder, between two times"), QStringLiteral("1"));
    cboRecord->addItem(tr("By the recorder, in daylight"), QStringLiteral("1"));
    lblRecordWhen = makeLabel("lblRecordWhen", tr("When:"));
    txtRecordWhen = makeText("txtRecordWhen");
    connect(cboRecord, &QComboBox::currentIndexChanged, this, [this](int index) {
        txtRecordWhen->setEnabled(index >= kRecordBetween);
        lblRecordWhen->setEnabled(index >= kRecordBetween);
        txtRecordWhen->setPlaceholderText(index == kRecordBetween ? tr("06:00-20:00 (local time)")
                                              : index == kRecordDaylight
                                              ? tr("latitude longitude, such as 51.48 -0.01; "
                                                   "civil may follow")
                                              : QString());
    });
    txtRecordWhen->setEnabled(false);
    lblRecordWhen->setEnabled(false);
    cboRecord->setToolTip(tr("tolvane --record saves the new pictures of the cams marked here without a window (as a "
                             "service); while it runs, AutoSave leaves these cams to it."));
    lblStreamTransport = makeLabel("lblStreamTransport", tr("Stream over:"));
    cboStreamTransport = new QComboBox(this);
    cboStreamTransport->setObjectName(QStringLiteral("cboStreamTransport"));
    cboStreamTransport->addItem(tr("TCP, inside the RTSP connection"), QString());
    cboStreamTransport->addItem(tr("UDP"), QString::fromLatin1(CamSettingValues::udp));
    cboStreamTransport->setToolTip(tr("How an rtsp:// or rtsps:// cam sends its video: TCP passes firewalls and "
                                      "loses nothing; choose UDP for a cam that offers nothing else."));
    // Only a stream address has a transport to choose.
    const auto showTransportRow = [this](const QString& address) {
        const QString scheme = QUrl(address.trimmed()).scheme().toLower();
        const bool stream = scheme == QLatin1String("rtsp") || scheme == QLatin1String("rtsps");
        lblStreamTransport->setEnabled(stream);
        cboStreamTransport->setEnabled(stream);
    };
    connect(Text2, &QLineEdit::textChanged, this, showTransportRow);
    showTransportRow(Text2->text());
    Command1 = new QPushButton(tr("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(tr("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    grid_ = new QGridLayout(this);
    grid_->addWidget(Label1, 0, 0);
    grid_->addWidget(Text1, 0, 1, 1, 3);
    grid_->addWidget(Label2, 1, 0);
    grid_->addWidget(Text2, 1, 1, 1, 3);
    grid_->addWidget(Label3, 2, 0);
    grid_->addWidget(Text3, 2, 1);
    grid_->addWidget(Label4, 2, 2);
    grid_->addWidget(lblRefreshRule, 2, 3);
    grid_->addWidget(lblNewPictureRule, 3, 0);
    grid_->addWidget(cboNewPictureRule, 3, 1, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid_->addWidget(chkAutoSave, 4, 1, 1, 3);
    // Row 5 is Form3's note; the recorder's rows come after every row the dialogs had.
    grid_->addWidget(lblRecord, 6, 0);
    grid_->addWidget(cboRecord, 6, 1, 1, 3);
    grid_->addWidget(lblRecordWhen, 7, 0);
    grid_->addWidget(txtRecordWhen, 7, 1, 1, 3);
    grid_->addWidget(lblStreamTransport, 8, 0);
    grid_->addWidget(cboStreamTransport, 8, 1, 1, 3);
    grid_->addLayout(buttons, 9, 0, 1, 4);
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

void CamDialog::setRefreshDigits(int digits)
{
    // A validator, not a maximum length: a pasted "5000" is refused whole instead of being cut
    // to "500" without a word.
    auto* rule = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), Text3);
    delete Text3->validator();
    Text3->setValidator(rule);
}

bool CamDialog::ValidateTexts(const QString& ownName, const QString& keptRefresh)
{
    if (Text1->text().isEmpty() || Text2->text().isEmpty() || Text3->text().isEmpty()) {
        ShowDialogError(tr("you must enter all information"), this);
        return false;
    }
    if (!TypedSchedule())
        return false;
    if (!IsRefreshText(Text3->text(), keptRefresh)) {
        ShowDialogError(tr("the refresh time must be a whole number of seconds from 1 to 999"), this);
        return false;
    }
    // Lookups find the first cam of a name: a second one could never be opened, and its
    // pictures, history and health would mix with the first one's.
    const QString name = Text1->text();
    if (name == ownName)
        return true;
    QStringList listed;
    try {
        if (FileExists(CamListPath()))  // a missing list holds no names; an append makes it
            ReloadCamList(listed);
    } catch (const CamListError& error) {
        ShowCamListError(error, this);
        return false;
    }
    if (!listed.contains(name))
        return true;
    ShowDialogError(tr("a cam named \"%1\" is already in the list: choose another name").arg(name), this);
    return false;
}

void CamDialog::StoreAutoSave(const QString& cam)
{
    // Off is stored; on is the default, so any older value goes.
    QString reason;
    if (!SetCamSetting(cam, QString::fromLatin1(CamSettingNames::autoSave),
                       chkAutoSave->isChecked() ? QString() : QStringLiteral("0"), &reason))
        ShowDialogError(tr("The cam was saved, but \"%1\" could not be stored: %2").arg(chkAutoSave->text(), reason),
                        this);
}

void CamDialog::ShowRecord(const QString& cam)
{
    const std::optional<RecordSchedule> own =
        RecordScheduleFromText(CamSetting(cam, QString::fromLatin1(CamSettingNames::recordSchedule)));
    int index = CamRecorded(cam) ? kRecordForAll : kRecordNot;
    txtRecordWhen->clear();
    if (index != kRecordNot && own && own->kind != RecordSchedule::Kind::Always) {
        const QString text = RecordScheduleText(*own);
        index = own->kind == RecordSchedule::Kind::Between ? kRecordBetween : kRecordDaylight;
        txtRecordWhen->setText(index == kRecordDaylight ? text.mid(text.indexOf(QLatin1Char(' ')) + 1) : text);
    }
    cboRecord->setCurrentIndex(index);
}

std::optional<QString> CamDialog::TypedSchedule()
{
    const int index = cboRecord->currentIndex();
    if (index < kRecordBetween)
        return QString();
    const QString typed = txtRecordWhen->text().trimmed();
    const std::optional<RecordSchedule> schedule =
        RecordScheduleFromText(index == kRecordDaylight ? QStringLiteral("daylight ") + typed : typed);
    if (schedule &&
        schedule->kind == (index == kRecordDaylight ? RecordSchedule::Kind::Daylight : RecordSchedule::Kind::Between))
        return RecordScheduleText(*schedule);
    ShowDialogError(index == kRecordDaylight
                        ? tr("\"When:\" takes the cam's latitude and longitude in degrees (north and east; south and "
                             "west below zero), such as 51.48 -0.01, and civil after them for civil twilight")
                        : tr("\"When:\" takes two times of day, such as 06:00-20:00"),
                    this);
    return std::nullopt;
}

void CamDialog::StoreRecord(const QString& cam)
{
    QString reason;
    const QString value = cboRecord->currentData().toString();
    const QString schedule = TypedSchedule().value_or(QString());  // checked before anything was written
    const QString recordName = QString::fromLatin1(CamSettingNames::record);
    const QString scheduleName = QString::fromLatin1(CamSettingNames::recordSchedule);
    if ((CamSetting(cam, recordName) == value || SetCamSetting(cam, recordName, value, &reason)) &&
        (CamSetting(cam, scheduleName) == schedule || SetCamSetting(cam, scheduleName, schedule, &reason)))
        return;
    ShowDialogError(tr("The cam was saved, but \"%1\" could not be stored: %2").arg(lblRecord->text(), reason), this);
}

void CamDialog::ShowStreamTransport(const QString& cam)
{
    const int index =
        cboStreamTransport->findData(CamSetting(cam, QString::fromLatin1(CamSettingNames::streamTransport)));
    cboStreamTransport->setCurrentIndex(index < 0 ? 0 : index);
}

void CamDialog::StoreStreamTransport(const QString& cam)
{
    // TCP is the default: nothing is stored for it, and an older UDP goes.
    const QString name = QString::fromLatin1(CamSettingNames::streamTransport);
    const QString value = cboStreamTransport->currentData().toString();
    QString reason;
    if (CamSetting(cam, name) == value || SetCamSetting(cam, name, value, &reason))
        return;
    ShowDialogError(tr("The cam was saved, but \"%1\" could not be stored: %2").arg(lblStreamTransport->text(), reason),
                    this);
}

void CamDialog::ReloadList()
{
    try {
        ReloadCamList(List1_.data());
    } catch (const CamListError& error) {
        ShowCamListError(error, this);
    }
}

void CamDialog::ShowOwnRule(const QString& cam)
{
    const int index =
        cboNewPictureRule->findData(CamSetting(cam, QString::fromLatin1(CamSettingNames::newPictureRule)));
    cboNewPictureRule->setCurrentIndex(index < 0 ? 0 : index);
}

void CamDialog::KeepOwnRule(const QString& cam)
{
    const QString rule = cboNewPictureRule->currentData().toString();
    QString reason;
    if (CamSetting(cam, QString::fromLatin1(CamSettingNames::newPictureRule)) == rule ||
        SetCamSetting(cam, QString::fromLatin1(CamSettingNames::newPictureRule), rule, &reason))
        return;
    ShowDialogError(tr("the cam was saved, but its rule for new pictures could not be kept: %1").arg(reason), this);
}

Form2::Form2(QListWidget* List1, QWidget* parent) : CamDialog(QStringLiteral("Form2"), List1, parent)
{
    setWindowTitle(tr("%1 :: Add a Cam").arg(ProductName()));
    Text1->setText(tr("My Cam"));
    Text1->setToolTip(tr("create a unique name"));
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
    KeepOwnRule(record.name);
    StoreAutoSave(record.name);
    StoreRecord(record.name);
    StoreStreamTransport(record.name);
    ReloadList();
    accept();
}

Form3::Form3(QListWidget* List1, UpdateOpenSlots updateOpenSlots, QWidget* parent)
    : CamDialog(QStringLiteral("Form3"), List1, parent), updateOpenSlots_(std::move(updateOpenSlots))
{
    Text1->setToolTip(tr("Create a unique name for the cam"));
    Label5 = new QLabel(tr("(Cams that are already open will need to be restarted)"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    grid_->addWidget(Label5, 5, 0, 1, 4);
}

void Form3::Form_Load(const QString& entry)
{
    editing_ = FindCamEntry(entry);
    if (!editing_)
        return;
    const CamRecord& record = editing_->record;
    setWindowTitle(record.name);
    Text1->setText(record.name);
    Text2->setText(record.url);
    // The three characters are a limit for typing: a longer stored text ("3600") is shown whole,
    // so that OK writes it back unchanged when only the name or the address was edited.
    setRefreshDigits(qMax(kRefreshMaxLength, int(record.refresh.size())));
    Text3->setText(record.refresh);
    ShowOwnRule(record.name);
    chkAutoSave->setChecked(CamAutoSaves(record.name));
    ShowRecord(record.name);
    ShowStreamTransport(record.name);
}

std::optional<CamRecord> Form3::camBeingEdited() const
{
    return editing_ ? std::optional<CamRecord>(editing_->record) : std::nullopt;
}

void Form3::Command1_Click()
{
    // The cam keeps its own name; the title holds it (the entry's text when the file had none).
    if (!ValidateTexts(windowTitle(), editing_ ? editing_->record.refresh : QString()))
        return;
    const CamRecord edited = typedRecord();
    try {
        if (editing_)
            ReplaceCamEntry(*editing_, edited);
        else
            AppendCamRecord(edited.name, edited.url, edited.refresh);
    } catch (const CamListError& error) {
        // The file is as it was (the edit is one atomic rewrite); keep the texts for another try.
        ShowCamListError(error, this);
        return;
    }
    ReloadList();
    // The cam's own settings follow a rename first (updateOpenSlots_); the rule then goes under
    // the name the cam has now.
    if (updateOpenSlots_)
        updateOpenSlots_(windowTitle(), edited);
    KeepOwnRule(edited.name);
    StoreAutoSave(edited.name);
    StoreRecord(edited.name);
    StoreStreamTransport(edited.name);
    accept();
}
