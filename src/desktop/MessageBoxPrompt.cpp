#include "MessageBoxPrompt.h"

#include <QApplication>
#include <QMessageBox>

namespace {
class MessageBoxes final : public Prompt {
public:
    PromptAnswer ask(const QString& title, const QString& text, PromptButtons buttons, QWidget* parent) override
    {
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        QMessageBox::Icon icon = QMessageBox::Information;
        switch (buttons) {
        case PromptButtons::Ok:
            set = QMessageBox::Ok;
            break;
        case PromptButtons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            icon = QMessageBox::Question;
            break;
        case PromptButtons::AbortRetryIgnore:
            set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
            icon = QMessageBox::Warning;
            break;
        }
        QMessageBox box(icon, title, text, set, parent ? parent : QApplication::activeWindow());
        // Texts carry cam names and file names: "<b>x</b>" is a name, not bold type.
        box.setTextFormat(Qt::PlainText);
        switch (box.exec()) {
        case QMessageBox::Cancel:
            return PromptAnswer::Cancel;
        case QMessageBox::Abort:
            return PromptAnswer::Abort;
        case QMessageBox::Retry:
            return PromptAnswer::Retry;
        case QMessageBox::Ignore:
            return PromptAnswer::Ignore;
        default:
            return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Ok;
        }
    }
};

}  // namespace

Prompt& MessageBoxPrompt()
{
    static MessageBoxes prompt;
    return prompt;
}
