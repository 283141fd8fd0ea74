#include "UiFixture.h"

#include "app/qt/QuitCommand.h"
#include "app/qt/Startup.h"
#include "app/qt/TBox.h"
#include "curves/LoadState.h"
#include "dialogs/qt/TFileBox.h"
#include "plot/PlotState.h"
#include "ui/qt/Commands.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace
{

class Keys : public UiTest
{
protected:
    // With the bitmap export on, a print asks for a file name first: the
    // file box showing is the sign that the print command ran.
    void expectPrintAskedForAFile(const std::function<void()>& press)
    {
        Settings.PrintToBmp = 1;
        bool asked = false;
        whenModal(FileBox, [&] {
            asked = true;
            FileBox->AbortBtnClick();
        });
        press();
        EXPECT_TRUE(asked);
        Settings.PrintToBmp = 0;
    }
};

TEST_F(Keys, EscAsksToQuit)
{
    QString title;
    whenModal(Box, [&] {
        title = Box->windowTitle();
        pressKey(Qt::Key_Escape);
    });
    QTest::keyClick(MainForm, Qt::Key_Escape);
    EXPECT_EQ(title, "Sonivex");
    EXPECT_TRUE(MainForm->isVisible());
}

TEST_F(Keys, PPrintsFromTheWindowAndFromInsideTheMessageBox)
{
    expectPrintAskedForAFile([] { QTest::keyClick(MainForm->SigWinFrame, Qt::Key_P); });
    expectPrintAskedForAFile([] {
        whenModal(Box, [] {
            pressKey(Qt::Key_P); // passed on to the main window's key handler
            pressKey(Qt::Key_Return);
        });
        VersionClick();
    });
}

TEST_F(Keys, ArrowKeysStepTheScalesLikeTheirButtons)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> check;
    };
    CurveKindText = "H2";
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
    const std::vector<Case> cases {
        {Qt::Key_Up, Qt::NoModifier, [] { EXPECT_EQ(Settings.LevelTop, 110); }},
        {Qt::Key_Down, Qt::NoModifier, [] { EXPECT_EQ(Settings.LevelTop, 100); }},
        {Qt::Key_Up, Qt::ControlModifier, [] { EXPECT_EQ(Settings.LevelRange, 50); }},
        {Qt::Key_Down, Qt::ControlModifier, [] { EXPECT_EQ(Settings.LevelRange, 60); }},
        {Qt::Key_Right, Qt::NoModifier, [] { EXPECT_FLOAT_EQ(Plot.ViewFreqHigh, 30000.0f); }},
        {Qt::Key_Left, Qt::NoModifier, [] { EXPECT_FLOAT_EQ(Plot.ViewFreqLow, 20.0f); }},
        {Qt::Key_Right, Qt::ControlModifier, [] { EXPECT_FLOAT_EQ(Plot.ViewFreqLow, 30.0f); }},
        {Qt::Key_Left, Qt::ControlModifier, [] { EXPECT_FLOAT_EQ(Plot.ViewFreqLow, 20.0f); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(MainForm->SigWinFrame, Qt::Key(c.key), c.modifiers);
        c.check();
    }
}

// The key goes where the platform delivers it: to the focused control of the
// active window, or to the window itself when no control has the focus.
void pressWhereFocused(int key)
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeModalWidget();
    if (target)
        QTest::keyClick(target, Qt::Key(key));
}

TEST_F(Keys, SpaceInTheQuitQuestionAnswersNothing)
{
    bool buttonFocused = true;
    bool stillOpen = false;
    whenModal(Box, [&] {
        buttonFocused
            = QApplication::focusWidget() == Box->Btn1 || QApplication::focusWidget() == Box->Btn2;
        pressWhereFocused(Qt::Key_Space);
        QApplication::processEvents();
        stillOpen = Box->isVisible() && BoxResult == 0;
        pressWhereFocused(Qt::Key_Escape);
    });
    QuitRequest(); // answered "no" by Esc: nothing is saved, nothing ends
    EXPECT_FALSE(buttonFocused);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(BoxResult, kBoxSecondButton);
}

TEST_F(Keys, LoadAndScaleKeysInsideABoxStartNothingUnderneath)
{
    CurveKindText = "H2";
    const float high = Plot.ViewFreqHigh;
    const int32_t top = Settings.LevelTop;
    bool fileBoxShown = false;
    QTimer watch; // closes a file box that a key might open underneath
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() == FileBox) {
            fileBoxShown = true;
            FileBox->AbortBtnClick();
        }
    });
    watch.start();
    whenModal(Box, [] {
        for (int key : {Qt::Key_F2, Qt::Key_Right, Qt::Key_Up})
            pressWhereFocused(key);
        pressWhereFocused(Qt::Key_Escape);
    });
    VersionClick();
    watch.stop();
    EXPECT_FALSE(fileBoxShown);
    EXPECT_EQ(Plot.ViewFreqHigh, high);
    EXPECT_EQ(Settings.LevelTop, top);
    EXPECT_EQ(BoxResult, kBoxSecondButton);
}

} // namespace
