#include "Prompt.h"

namespace {
// Shows nothing and answers as a message box closed with its window's close box would.
class SilentPrompt final : public Prompt {
public:
    PromptAnswer ask(const QString&, const QString&, PromptButtons buttons, QWidget*) override
    {
        return buttons == PromptButtons::AbortRetryIgnore ? PromptAnswer::Abort : PromptAnswer::Ok;
    }
};

Prompt* installed = nullptr;
Prompt* programDefault = nullptr;
}  // namespace

Prompt& CurrentPrompt()
{
    static SilentPrompt silent;
    if (installed)
        return *installed;
    return programDefault ? *programDefault : silent;
}

void SetPrompt(Prompt* prompt)
{
    installed = prompt;
}

void SetDefaultPrompt(Prompt* prompt)
{
    programDefault = prompt;
}
