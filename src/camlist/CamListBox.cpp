#include "CamListBox.h"

#include <QListWidget>
#include <QStyledItemDelegate>

#include "CamList.h"
#include "LockWind.h"

namespace {
// Draws a name of any length in the time a short one takes: laying out a name of megabytes (a
// damaged or hostile cam list) held the window for minutes at every layout of the box. The item
// keeps the whole name, which is what finds the cam; only what is drawn is shortened.
class CamNameDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->text.size() > kLongestShownCamName) {
            option->text.truncate(kLongestShownCamName);
            option->text += QChar(0x2026);  // an ellipsis
        }
    }
};

void FillList(QListWidget* list, const QStringList& names)
{
    if (!dynamic_cast<CamNameDelegate*>(list->itemDelegate()))
        list->setItemDelegate(new CamNameDelegate(list));
    // The window shows the box once, filled.
    const WindowDrawingLock lock(list);
    list->addItems(names);
    list->clearSelection();
}
}  // namespace

void LoadCamList(QListWidget* list)
{
    // Read before touching the box, so a failure leaves the box as it was.
    QStringList names;
    LoadCamList(names);
    if (list)
        FillList(list, names);
}

void ReloadCamList(QListWidget* list)
{
    QStringList names;
    ReloadCamList(names);
    if (!list)
        return;
    list->clear();
    FillList(list, names);
}
