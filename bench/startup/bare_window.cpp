// The reference for the start-up measurement: the least a Qt Widgets program
// does to show a main window of the viewer's size with a menu bar.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare");
    window.menuBar()->addMenu("&File");
    window.menuBar()->addMenu("&Help");
    window.resize(632, 424);
    window.show();
    return app.exec();
}
