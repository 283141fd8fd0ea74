#pragma once
// The small commands of the main window's menu, the clock and the status line.

#include <string>

class QObject;

// Makes the text (cut at 255 characters) the status line and shows it at once.
void SetInfoText(const std::string& text);
void EA1Click(QObject* sender);
void VersionClick();
void MessobjektClick();
void ParameterClick(QObject* sender);
void ColorClick(QObject* sender);
void RecallDefault1Click();
void Timer1Timer();
