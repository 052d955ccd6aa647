#include "Form4.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "CamCommands.h"

namespace {
QPointer<Form4>& notice()
{
    static QPointer<Form4> window;
    return window;
}
}  // namespace

Form4::Form4(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Oops!"));
    // Modal like a message box: it answers a command, and without it the user would click on
    // while it hides behind the main window.
    setModal(true);
    Label1 = new QLabel(tr("You must first select a cam from the list."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
    // Closing only hides the window: it carries no state, so it is simply shown again, centred
    // on the main window each time (QDialog places a window that was not moved by hand).
    QPointer<Form4>& window = notice();
    if (!window)
        window = new Form4(owner ? owner->window() : nullptr);
    window->show();
    window->raise();
    window->activateWindow();
    window->cmdOK->setFocus();
}
