#pragma once

#include <QApplication>
#include <functional>

// The application: errors that escape an event handler go to the top-level
// error display (a message box with the error's text) and the program goes on.
class VoxaApplication : public QApplication
{
public:
    VoxaApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error that no command caught.
void ShowTopLevelError(const QString& text);

// Runs an event handler; an error it raises goes to the top-level error
// display, and the fatal alerts end the program. Handlers are run through
// this so that no exception unwinds through Qt's own event code.
void RunReportingErrors(const std::function<void()>& handler);
