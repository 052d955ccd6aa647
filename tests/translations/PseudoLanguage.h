#pragma once
// A language that marks every text it is asked for, and a walk over a window that finds the
// texts it shows unmarked: a text a window shows unmarked never went through the translation
// system, and no translator could ever reach it.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QTreeWidget>
#include <algorithm>

#include "FolderTestSupport.h"  // texts in a failure as they read

class BracketLanguage : public QTranslator {
public:
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QLatin1Char('[') + QString::fromUtf8(source) + QLatin1Char(']');
    }
    bool isEmpty() const override { return false; }
};

// What is left of text once the marked parts and the data (names, numbers, addresses) are
// taken out: words there were never translated.
inline QString unmarked(QString text, QStringList data)
{
    static const QRegularExpression marked(QStringLiteral("\\[[^\\[\\]]*\\]"));
    // The longest first: a name may hold a shorter one ("Tolvane Project", "Tolvane").
    std::sort(data.begin(), data.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& datum : data)
        text.remove(datum);
    // Inside out: a marked text may hold another ("[\"[Label]\" is on or off.]").
    for (QString before; before != text;) {
        before = text;
        text.remove(marked);
    }
    static const QRegularExpression letters(QStringLiteral("\\p{L}"));
    return text.contains(letters) ? text.trimmed() : QString();
}

// A tool tip or label as the user reads it: rich text without its tags.
inline QString shownText(const QString& text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// The texts of a menu: its title, its items and their tips, and its submenus'.
inline void menuTexts(const QMenu* menu, QStringList& texts)
{
    texts << menu->title();
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        texts << action->text() << shownText(action->toolTip());
        if (action->menu())
            menuTexts(action->menu(), texts);
    }
}

// Every text the window shows: its title, labels, buttons, group boxes, lists' choices, column
// headers, placeholders, tool tips and menus. A widget wholly outside its parent is never seen.
inline QStringList unmarkedTexts(const QWidget* window, const QStringList& data, const QStringList& dataWidgets = {})
{
    QStringList texts{window->windowTitle()};
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || dataWidgets.contains(widget->objectName()))
            continue;
        if (widget->parentWidget() && !widget->parentWidget()->rect().intersects(widget->geometry()))
            continue;
        texts << shownText(widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << shownText(label->text());
        else if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        else if (const auto* box = qobject_cast<const QGroupBox*>(widget))
            texts << box->title();
        else if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
            texts << edit->placeholderText();
        else if (const auto* list = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        else if (const auto* tree = qobject_cast<const QTreeWidget*>(widget))
            for (int i = 0; i < tree->columnCount(); ++i)
                texts << tree->headerItem()->text(i);
        else if (const auto* bar = qobject_cast<const QMenuBar*>(widget))
            for (const QAction* action : bar->actions())
                if (action->menu())
                    menuTexts(action->menu(), texts);
    }
    QStringList left;
    for (const QString& text : texts)
        if (const QString rest = unmarked(text, data); !rest.isEmpty())
            left << rest;
    return left;
}

// The same for a menu of its own (a context menu).
inline QStringList unmarkedMenuTexts(const QMenu* menu, const QStringList& data)
{
    QStringList texts;
    menuTexts(menu, texts);
    QStringList left;
    for (const QString& text : texts)
        if (const QString rest = unmarked(text, data); !rest.isEmpty())
            left << rest;
    return left;
}
