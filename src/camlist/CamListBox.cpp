#include "CamListBox.h"

#include <QListWidget>

#include "CamList.h"
#include "LockWind.h"

namespace {
void FillList(QListWidget* list, const QStringList& names)
{
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
