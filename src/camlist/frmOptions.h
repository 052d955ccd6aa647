#pragma once
// The Options dialog ("Settings" > "Options…"): a modeless window, loaded once, with one
// control per row of OptionRows(). It shows the stored values; OK and Apply store the choices
// the user changed (and only those) where each is kept, Cancel stores nothing.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <vector>

#include "Options.h"

class QDialogButtonBox;
class QLabel;
class QPushButton;

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* owner = nullptr, std::vector<OptionRow> rows = OptionRows());

    // Puts the stored value of every row into its control.
    void Form_Load();
    // Stores the changed rows; false (nothing stored) while a row holds a value it does not take.
    bool Apply();
    void cmdOK_Click();
    void cmdCancel_Click();

    // A row's control, named after the key: a QCheckBox, a QComboBox (Choice) or a QLineEdit.
    QWidget* control(const QString& key) const;
    // The value a row's control holds now, as it would be stored.
    QString valueOf(const QString& key) const;
    // Whether every row holds a value it takes; the buttons that store are disabled otherwise.
    bool isValid() const;

    QDialogButtonBox* buttons = nullptr;
    QLabel* lblProblem = nullptr;  // why OK and Apply are disabled

    // How "Browse…" asks for a file: QFileDialog unless a test installed another. Given the
    // dialog, the row and the current text; an empty answer leaves the text alone.
    using FileChooser = std::function<QString(QWidget*, const OptionRow&, const QString&)>;
    static void SetFileChooser(FileChooser chooser);

signals:
    // After a store: the keys whose values changed.
    void optionsChanged(const QStringList& keys);

private:
    struct Row {
        OptionRow option;
        QWidget* control = nullptr;
        QString loaded;  // the control's value right after Form_Load
    };
    void buildRow(Row& row, class QFormLayout* form);
    void updateValidity();

    std::vector<Row> rows_;
};

// Loads the Options dialog for owner, or brings the loaded one forward.
frmOptions* ShowOptions(QWidget* owner, std::vector<OptionRow> rows = OptionRows());
// The loaded dialog; nullptr when none is.
frmOptions* LoadedOptions();
// Closes the loaded dialog without storing (the main window's unload).
void UnloadOptions();
