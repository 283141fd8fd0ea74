#pragma once

// Creates the windows that start-up shows or may show: MainForm (with its
// commands wired to its controls and keys, then laid out), then Box. The
// dialogs that only commands open are created on their first use.
void CreateStartWindows();
// Creates the one instance of every window at once, in this order: MainForm,
// Box, FileBox, PrintOptionsDlg.
void CreateWindows();
