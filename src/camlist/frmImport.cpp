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

QString Counted(qsizetype count, const char* one, const char* many)
{
    return count == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(count);
}
}  // namespace

frmImport::frmImport(const QString& fileName, const ImportPlan& plan,
                     std::function<QString(const QString&)> shownAddress, QWidget* parent)
    : QDialog(parent), plan_(plan)
{
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(ProductName() + QStringLiteral(" :: Import Cams"));
    const auto shown = [&shownAddress](const QString& address) {
        return shownAddress ? shownAddress(address) : address;
    };

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    lblSummary->setWordWrap(true);
    lblSummary->setText(QStringLiteral("From %1 (%2): %3, %4.")
                            .arg(QFileInfo(fileName).fileName(),
                                 plan.csv ? QStringLiteral("a CSV file") : QStringLiteral("a list of addresses"),
                                 Counted(plan.toAdd.size(), "1 cam will be added", "%1 cams will be added"),
                                 Counted(plan.skipped.size(), "1 row is skipped", "%1 rows are skipped")));

    lstRows = new QTreeWidget(this);
    lstRows->setObjectName(QStringLiteral("lstRows"));
    lstRows->setRootIsDecorated(false);
    lstRows->setHeaderLabels({QStringLiteral("Line"), QStringLiteral("Name"), QStringLiteral("Address"),
                              QStringLiteral("Refresh"), QStringLiteral("What happens")});
    // In the file's order, so a skipped row is found where the user wrote it.
    QList<QTreeWidgetItem*> rows;
    for (const ImportRow& row : plan.toAdd) {
        auto* item = new QTreeWidgetItem({QString::number(row.line), row.record.name, shown(row.record.url),
                                          row.record.refresh, QStringLiteral("added")});
        item->setData(LineColumn, Qt::UserRole, row.line);
        rows << item;
    }
    for (const SkippedImportRow& row : plan.skipped) {
        auto* item = new QTreeWidgetItem({QString::number(row.line), QString(), shown(row.text), QString(),
                                          QStringLiteral("skipped: ") + row.reason});
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
