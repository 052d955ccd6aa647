#include "frmImport.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ProductInfo.h"

namespace {
enum Column { LineColumn, NameColumn, AddressColumn, RefreshColumn, OutcomeColumn };

QString Counted(qsizetype count, const QString& one, const QString& many)
{
    return count == 1 ? one : QString(many).arg(count);
}
}  // namespace

frmImport::frmImport(const QString& fileName, const ImportPlan& plan,
                     std::function<QString(const QString&)> shownAddress, QWidget* parent)
    : QDialog(parent), plan_(plan)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(tr("%1 :: Import Cams").arg(ProductName()));
    const auto shown = [&shownAddress](const QString& address) {
        return shownAddress ? shownAddress(address) : address;
    };

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    lblSummary->setText(tr("From %1 (%2): %3, %4.")
                            .arg(QFileInfo(fileName).fileName(),
                                 plan.csv ? tr("a CSV file") : tr("a list of addresses"),
                                 Counted(plan.toAdd.size(), tr("1 cam will be added"), tr("%1 cams will be added")),
                                 Counted(plan.skipped.size(), tr("1 row is skipped"), tr("%1 rows are skipped"))));

    lstRows = new QTreeWidget(this);
    lstRows->setObjectName(QStringLiteral("lstRows"));
    lstRows->setRootIsDecorated(false);
    lstRows->setHeaderLabels({tr("Line"), tr("Name"), tr("Address"), tr("Refresh"), tr("What happens")});
    // In the file's order, so a skipped row is found where the user wrote it.
    QList<QTreeWidgetItem*> rows;
    for (const ImportRow& row : plan.toAdd) {
        auto* item = new QTreeWidgetItem(
            {QString::number(row.line), row.record.name, shown(row.record.url), row.record.refresh, tr("added")});
        item->setData(LineColumn, Qt::UserRole, row.line);
        rows << item;
    }
    for (const SkippedImportRow& row : plan.skipped) {
        auto* item = new QTreeWidgetItem(
            {QString::number(row.line), QString(), shown(row.text), QString(), tr("skipped: %1").arg(row.reason)});
        item->setData(LineColumn, Qt::UserRole, row.line);
        item->setForeground(OutcomeColumn, palette().brush(QPalette::Disabled, QPalette::Text));
        rows << item;
    }
    std::stable_sort(rows.begin(), rows.end(), [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return a->data(LineColumn, Qt::UserRole).toInt() < b->data(LineColumn, Qt::UserRole).toInt();
    });
    lstRows->addTopLevelItems(rows);
    for (int column = LineColumn; column <= RefreshColumn; ++column)
        lstRows->resizeColumnToContents(column);

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!plan.toAdd.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(lstRows, 1);
    layout->addWidget(buttons);
    resize(760, 360);
}
