#pragma once

// Creates the one instance of every window, in this order: MainForm, Box,
// FileBox, PrintOptionsDlg.
void CreateWindows();
