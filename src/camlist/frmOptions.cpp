#include "frmOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
frmOptions::FileChooser& fileChooser()
{
    static frmOptions::FileChooser chooser;
    return chooser;
}

QString chooseFile(QWidget* parent, const OptionRow& row, const QString& current)
{
    if (fileChooser())
        return fileChooser()(parent, row, current);
    if (row.kind == OptionKind::Folder)
        return QFileDialog::getExistingDirectory(parent, row.label, current);
    return QFileDialog::getOpenFileName(parent, row.label, current);
}

// Qt shows a plain tool tip as one line, which for a sentence or two runs across the screen;
// as rich text it is wrapped at a readable width. The text itself stays as it is.
QString WrappedToolTip(const QString& tip)
{
    return tip.isEmpty() ? tip : QStringLiteral("<p>%1</p>").arg(tip.toHtmlEscaped());
}

QPointer<frmOptions>& loadedDialog()
{
    static QPointer<frmOptions> dialog;
    return dialog;
}
}  // namespace

frmOptions::frmOptions(QWidget* owner, std::vector<OptionRow> rows) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(tr("Options"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    rows_.reserve(rows.size());
    for (OptionRow& option : rows) {
        rows_.push_back(Row{std::move(option), nullptr, QString()});
        buildRow(rows_.back(), form);
    }

    lblProblem = new QLabel(this);
    lblProblem->setObjectName(QStringLiteral("lblProblem"));
    lblProblem->setWordWrap(true);
    lblProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    lblProblem->hide();
    outer->addWidget(lblProblem);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    outer->addWidget(buttons);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { Apply(); });
}

void frmOptions::buildRow(Row& row, QFormLayout* form)
{
    const OptionRow& option = row.option;
    if (option.kind == OptionKind::Check) {
        auto* box = new QCheckBox(option.label, this);
        box->setObjectName(option.key);
        box->setToolTip(WrappedToolTip(option.tip));
        connect(box, &QCheckBox::toggled, this, [this] { updateValidity(); });
        form->addRow(box);
        row.control = box;
        return;
    }
    if (option.kind == OptionKind::Choice) {
        auto* list = new QComboBox(this);
        list->setObjectName(option.key);
        list->setToolTip(WrappedToolTip(option.tip));
        for (const OptionChoice& choice : option.choices)
            list->addItem(choice.label, choice.value);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { updateValidity(); });
        form->addRow(option.label, list);
        row.control = list;
        return;
    }
    auto* edit = new QLineEdit(this);
    edit->setObjectName(option.key);
    edit->setToolTip(WrappedToolTip(option.tip));
    edit->setPlaceholderText(option.placeholder);
    edit->setClearButtonEnabled(option.kind != OptionKind::Number);
    connect(edit, &QLineEdit::textChanged, this, [this] { updateValidity(); });
    row.control = edit;
    if (option.kind == OptionKind::Number) {
        // The validator keeps letters out; the range is checked by updateValidity, which can
        // say what is wrong instead of silently refusing keys.
        edit->setValidator(new QIntValidator(edit));
        // Wide enough for ten digits, and for the placeholder ("forever") in any language.
        const QFontMetrics metrics = edit->fontMetrics();
        edit->setMaximumWidth(std::max(metrics.horizontalAdvance(QStringLiteral("0000000000")),
                                       metrics.horizontalAdvance(option.placeholder) + 4 * metrics.averageCharWidth()));
    }
    if (option.kind != OptionKind::File && option.kind != OptionKind::Folder) {
        form->addRow(option.label, edit);
        return;
    }
    auto* line = new QHBoxLayout;
    line->addWidget(edit, 1);
    auto* browse = new QPushButton(tr("Browse…"), this);
    browse->setObjectName(option.key + QStringLiteral("_Browse"));
    line->addWidget(browse);
    const OptionRow copy = option;
    connect(browse, &QPushButton::clicked, this, [this, edit, copy] {
        const QString chosen = chooseFile(this, copy, edit->text());
        if (!chosen.isEmpty())
            edit->setText(chosen);
    });
    form->addRow(option.label, line);
}

void frmOptions::Form_Load()
{
    for (Row& row : rows_) {
        // What is in effect: a stored value the row does not take acts as the default, so
        // the default is what the dialog shows for it.
        const QString stored = OptionValue(row.option);
        if (auto* box = qobject_cast<QCheckBox*>(row.control))
            box->setChecked(stored == QLatin1String("1"));
        else if (auto* edit = qobject_cast<QLineEdit*>(row.control))
            edit->setText(stored);
        else if (auto* list = qobject_cast<QComboBox*>(row.control))
            list->setCurrentIndex(list->findData(stored));
        row.loaded = valueOf(row.option.key);
    }
    updateValidity();
}

QWidget* frmOptions::control(const QString& key) const
{
    for (const Row& row : rows_)
        if (row.option.key == key)
            return row.control;
    return nullptr;
}

QString frmOptions::valueOf(const QString& key) const
{
    const QWidget* widget = control(key);
    if (const auto* box = qobject_cast<const QCheckBox*>(widget))
        return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        // A number is stored without the blanks that may surround it.
        for (const Row& row : rows_)
            if (row.control == widget && row.option.kind == OptionKind::Number)
                return edit->text().trimmed();
        return edit->text();
    }
    if (const auto* list = qobject_cast<const QComboBox*>(widget))
        return list->currentData().toString();
    return QString();
}

bool frmOptions::isValid() const
{
    for (const Row& row : rows_)
        if (!IsValidOptionValue(row.option, valueOf(row.option.key)))
            return false;
    return true;
}

void frmOptions::updateValidity()
{
    QStringList problems;
    for (const Row& row : rows_)
        if (!IsValidOptionValue(row.option, valueOf(row.option.key)))
            problems << OptionValueHint(row.option);
    lblProblem->setText(problems.join(QLatin1Char('\n')));
    lblProblem->setVisible(!problems.isEmpty());
    buttons->button(QDialogButtonBox::Ok)->setEnabled(problems.isEmpty());
    buttons->button(QDialogButtonBox::Apply)->setEnabled(problems.isEmpty());
}

bool frmOptions::Apply()
{
    if (!isValid())
        return false;
    QStringList changed;
    for (Row& row : rows_) {
        const QString value = valueOf(row.option.key);
        if (value == row.loaded)
            continue;
        WriteOption(row.option, value);
        row.loaded = value;
        changed << row.option.key;
    }
    if (!changed.isEmpty())
        emit optionsChanged(changed);
    return true;
}

void frmOptions::cmdOK_Click()
{
    if (Apply())
        close();
}

void frmOptions::cmdCancel_Click()
{
    close();
}

void frmOptions::SetFileChooser(FileChooser chooser)
{
    fileChooser() = std::move(chooser);
}

frmOptions* ShowOptions(QWidget* owner, std::vector<OptionRow> rows)
{
    if (frmOptions* loaded = LoadedOptions()) {
        loaded->show();
        loaded->raise();
        loaded->activateWindow();
        return loaded;
    }
    auto* dialog = new frmOptions(owner, std::move(rows));
    dialog->Form_Load();
    loadedDialog() = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

frmOptions* LoadedOptions()
{
    frmOptions* dialog = loadedDialog().data();
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void UnloadOptions()
{
    if (frmOptions* dialog = loadedDialog().data())
        dialog->close();
}
