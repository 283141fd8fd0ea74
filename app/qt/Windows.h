#pragma once

// Creates the one instance of every window, in this order: MainForm (with its
// commands wired to its controls and keys, then laid out), Box, FileBox,
// PrintOptionsDlg.
void CreateWindows();
