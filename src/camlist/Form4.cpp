#include "Form4.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include "CamCommands.h"

namespace {
QPointer<Form4>& notice()
{
    static QPointer<Form4> window;
    return window;
}
}  // namespace

Form4::Form4(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Oops!"));
    Label1 = new QLabel(QStringLiteral("You must first select a cam from the list."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->setContentsMargins(24, 18, 24, 18);
}

Form4* NoticeWindow()
{
    return notice().data();
}

void UnloadNotice()
{
    if (notice())
        delete notice().data();
}

void ShowNotice(QWidget* owner)
{
    // The close box only hides the window: it carries no state, so it is simply shown again.
    QPointer<Form4>& window = notice();
    if (!window)
        window = new Form4(owner ? owner->window() : nullptr);
    window->show();
    window->raise();
    window->activateWindow();
}
