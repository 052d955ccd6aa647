#pragma once
// The prompt of a program with windows: every question is a QMessageBox, placed over the given
// window or, without one, over the active window.
#include "Prompt.h"

Prompt& MessageBoxPrompt();
