#pragma once
// Saving the settings and the quit question.

#include "app/ConfigFile.h"

// Copies the window geometry into the record and writes the file.
SaveOutcome SaveSettings();
// "Quit VOXA 32?"; on "yes" saves, sounds the closing tones and ends the event loop.
void QuitRequest();
