#pragma once
// Message boxes go through this small interface, so that the libraries below the windows can ask
// the user without a widget toolkit: a program with windows installs message boxes as the
// default (InitDesktopApplication), and a test installs a scripted answerer and checks what was
// asked.
#include <QString>

class QWidget;

enum class PromptButtons { Ok, OkCancel, AbortRetryIgnore };
enum class PromptAnswer { Ok, Cancel, Abort, Retry, Ignore };

class Prompt {
public:
    virtual ~Prompt() = default;
    // A null parent leaves the placing to the prompt (message boxes go over the active window).
    virtual PromptAnswer ask(const QString& title, const QString& text, PromptButtons buttons,
                             QWidget* parent = nullptr) = 0;
};

// The prompt in force: the one a test installed, else the program's default, else one that
// shows nothing and answers as a closed message box would (Abort, or Ok).
Prompt& CurrentPrompt();
// Installs a prompt (not owned); nullptr restores the program's default.
void SetPrompt(Prompt* prompt);
// The program's own prompt (not owned), in force whenever no other is installed.
void SetDefaultPrompt(Prompt* prompt);
