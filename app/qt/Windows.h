#pragma once

// Creates the windows that start-up shows or may show: MainForm (with its
// commands wired to its controls and keys, then laid out), then Box. The
// off-screen bitmap is made by the next layout pass (the one with the loaded
// settings). The dialogs that only commands open are created on first use.
void CreateStartWindows();
// Creates the one instance of every window at once, in this order: MainForm,
// Box, FileBox, PrintOptionsDlg.
void CreateWindows();
