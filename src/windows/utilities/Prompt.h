#pragma once
// Message boxes go through this small interface: the default shows a QMessageBox, a test
// installs a scripted answerer and checks what was asked.
#include <QString>

class QWidget;

enum class PromptButtons { Ok, OkCancel, AbortRetryIgnore };
enum class PromptAnswer { Ok, Cancel, Abort, Retry, Ignore };

class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const QString& title, const QString& text, PromptButtons buttons,
                             QWidget* parent = nullptr) = 0;
};

// The prompt in force; the QMessageBox one unless a test installed another.
Prompt& CurrentPrompt();
// Installs a prompt (not owned); nullptr restores the QMessageBox prompt.
void SetPrompt(Prompt* prompt);
