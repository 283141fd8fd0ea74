#include "app/qt/VoxaApplication.h"

#include "app/qt/ProgramEnd.h"

#include <QMessageBox>
#include <cstdlib>
#include <exception>

VoxaApplication::VoxaApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // A Wayland compositor finds the window's icon and name through the
    // desktop entry of this name (voxa32vw.desktop).
    setDesktopFileName("voxa32vw");
}

void ShowTopLevelError(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), "VOXA 32 Curve Viewer", text);
}

void RunReportingErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const ProgramEnd&) {
        std::exit(0); // the fatal alerts end the program at once, saving nothing
    } catch (const std::exception& e) {
        ShowTopLevelError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowTopLevelError("Unknown error");
    }
}

bool VoxaApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    RunReportingErrors([&] { result = QApplication::notify(receiver, event); });
    return result;
}
