#pragma once

#include <QApplication>

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
