#include "Form8.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

#include "Files.h"
#include "ProgramFolder.h"
#include "RtfDocument.h"
#include "Settings.h"
#include "Utilities.h"

Form8::Form8(QWidget* owner) : SecondaryWindow(owner)
{
    setObjectName(QStringLiteral("Form8"));
    // A dialog of the main window rather than an always-on-top window: it stays in view above
    // the main window, while the program's dialogs and message boxes opened after it go above
    // it and the user's other programs are not covered.
    setWindowFlag(Qt::Dialog);
    setWindowTitle(tr("Readme/Help"));
    rtf1 = new QTextEdit(this);
    rtf1->setObjectName(QStringLiteral("rtf1"));
    rtf1->setReadOnly(true);
    Check1 = new QCheckBox(tr("Show at Startup"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    // Every change of the box is stored, also the one the load makes from the stored value.
    connect(Check1, &QCheckBox::toggled, this, &Form8::Check1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(rtf1, 1);
    layout->addWidget(Check1);
    resize(640, 600);  // pixels: about 60 characters of the help text per line
}

namespace {
QString& builtInHelpOverride()
{
    static QString path;
    return path;
}
}  // namespace

void SetBuiltInHelpFile(const QString& path)
{
    builtInHelpOverride() = path;
}

QString HelpFilePath(const QString& executableFolder, const QString& language)
{
    QStringList names;
    if (!language.isEmpty())
        names << QStringLiteral("Help.%1.rtf").arg(language);
    names << QStringLiteral("Help.rtf");
    for (const QString& name : names)
        if (const QString own = ProgramPath(name); FileExists(own))
            return own;
    if (const QString installedFolder = InstalledDataFolder(executableFolder); !installedFolder.isEmpty()) {
        for (const QString& name : names)
            if (FileExists(installedFolder + QLatin1Char('/') + name))
                return installedFolder + QLatin1Char('/') + name;
    }
    LoadProgramResources();
    if (!builtInHelpOverride().isEmpty())
        return QFile::exists(builtInHelpOverride()) ? builtInHelpOverride() : QString();
    for (const QString& name : names)
        if (QFile::exists(QStringLiteral(":/help/") + name))
            return QStringLiteral(":/help/") + name;
    return {};
}

bool Form8::Form_Load()
{
    const QString path = HelpFilePath(QCoreApplication::applicationDirPath());
    if (path.isEmpty())
        return false;
    // A file that cannot be read leaves the box empty; the window still works for its check box.
    LoadRtfFile(path, *rtf1->document(), &helpStatus_);
    rtf1->moveCursor(QTextCursor::Start);  // the help is read from its beginning
    KeepAboveOwner();
    // Only the two states the box can store change it; anything else keeps the design tick.
    if (const std::optional<bool> stored = FlagFromText(GetUserSetting(SettingKeys::showHelp)))
        Check1->setChecked(*stored);
    return true;
}

void Form8::KeepAboveOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    // Start-up opens Help before the main window is first shown, when the main window has no
    // window of its own yet to be kept above: it gets one now.
    owner->winId();
    winId();
    windowHandle()->setTransientParent(owner->windowHandle());
}

void Form8::keyPressEvent(QKeyEvent* event)
{
    // Escape closes Help as it closes About and the dialogs; the text box passes it on.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    SecondaryWindow::keyPressEvent(event);
}

void Form8::Check1_Click()
{
    // A store that cannot be written leaves the choice for this session only; the window
    // reports nothing, like every other step of the help window.
    SaveUserSetting(SettingKeys::showHelp, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}
