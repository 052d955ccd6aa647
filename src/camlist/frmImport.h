#pragma once
// Cams > "Import…": what importing a file will add to the cam list and what it skips, and why,
// before anything is written. OK adds (CamCommands does), Cancel adds nothing.
#include <QDialog>
#include <functional>

#include "CamImport.h"

class QDialogButtonBox;
class QLabel;
class QTreeWidget;

class frmImport : public QDialog {
    Q_OBJECT
public:
    // shownAddress: how an address is shown (its password masked); unset, as it stands.
    frmImport(const QString& fileName, const ImportPlan& plan, std::function<QString(const QString&)> shownAddress,
              QWidget* parent = nullptr);

    const ImportPlan& plan() const { return plan_; }

    QLabel* lblSummary = nullptr;    // "3 cams will be added, 2 rows are skipped."
    QTreeWidget* lstRows = nullptr;  // line, name, address, refresh, what happens; the file's order
    QDialogButtonBox* buttons = nullptr;

private:
    ImportPlan plan_;
};
