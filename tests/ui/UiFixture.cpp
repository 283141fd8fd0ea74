#include "UiFixture.h"

#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "app/qt/Windows.h"
#include "curves/LoadState.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

void UiTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ProgramDir = programDir();
    CommandLine = {"voxa32vw", "/Init", "/:"};
    if (!MainForm)
        CreateWindows();
    LoadSettings();
    // The slots empty before the first paint, which rebuilds the plot (the
    // program itself resets before it handles any event).
    ResetPlot();
    MainForm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(MainForm));
    ResetPlot();
    // Curves are looked for in the program directory; nothing loaded yet.
    Settings.CurveDirectory.assign(programDir());
    CurveName.clear();
    CommandLineCurveFolder.clear();
    CurveColours.restart();
    MainForm->MO->clear();
}

void UiTest::TearDown()
{
    QApplication::processEvents();
}

namespace
{

void moveMainFormTo(QScreen* screen)
{
    MainForm->windowHandle()->setScreen(screen);
    QApplication::processEvents();
}

QScreen* screenOfRatio(qreal ratio)
{
    for (QScreen* screen : QApplication::screens())
        if (screen->devicePixelRatio() == ratio)
            return screen;
    return nullptr;
}

} // namespace

bool UiTest::moveToHighDensityScreen()
{
    QScreen* dense = screenOfRatio(2);
    if (!dense)
        return false;
    moveMainFormTo(dense);
    return true;
}

void UiTest::moveToFirstScreen()
{
    moveMainFormTo(screenOfRatio(1));
}

std::string UiTest::programDir() const
{
    return m_dir.path().toStdString() + "/";
}

void UiTest::whenModal(std::function<void()> action)
{
    whenModal(nullptr, std::move(action));
}

void UiTest::whenModal(QWidget* window, std::function<void()> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, window, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && (!window || modal == window)) {
            timer->stop();
            timer->deleteLater();
            action();
        }
    });
    timer->start();
}

void UiTest::chooseWhenAsked(const QString& name)
{
    whenModal(FileBox, [name] {
        if (name.isEmpty()) {
            FileBox->AbortBtnClick();
            return;
        }
        const auto items = FileBox->FileListBox1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        FileBox->FileListBox1->setCurrentItem(items[0]);
        FileBox->OKButtonClick();
    });
}

void UiTest::pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = QApplication::activeModalWidget();
    if (!target)
        target = QApplication::focusWidget() ? QApplication::focusWidget() : MainForm;
    QTest::keyClick(target, Qt::Key(key), modifiers);
}

void UiTest::runInEventLoop(const std::function<void()>& action)
{
    QTimer::singleShot(0, [&action] {
        action();
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
}
