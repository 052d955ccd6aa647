#pragma once
// Start-up's reading of the stored choices: "autoSave" for the check box and "showHelp" for
// the Help window. Each read traps the store's errors and bad values, reports them as text
// and falls back to the default, so that a broken store never stops the program half-way.
#include <QString>
#include <optional>

// "autoSave" as the check box state: the text read as every switch is (FlagFromText); only 0
// and 1 are states of the box, anything else is not usable.
std::optional<bool> AutoSaveFromText(const QString& text);

struct StartupChoice {
    bool value = false;
    QString problem;  // empty when the stored value was read and used
};

// Reads "autoSave" from the main store; default off.
StartupChoice ReadAutoSaveChoice();
// "showHelp": the per-user store holds the Help window's own "Show at Startup" choice and
// wins when it holds the key; otherwise the main store (default "1"). Only the text "1" opens.
StartupChoice ReadShowHelpChoice();
