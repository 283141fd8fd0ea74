#pragma once
// The program's windows, created once for all widget tests, with a fresh
// configuration in a temporary program directory.

#include "app/SettingsRecord.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>

class UiTest : public ::testing::Test
{
protected:
    // Creates the windows (once), a fresh configuration and a shown main window
    // with the plot reset; curves are looked for in the program directory.
    void SetUp() override;
    void TearDown() override;

    // Runs action once the next modal dialog or box is shown (or, with a
    // window given, once that window is the modal one).
    static void whenModal(std::function<void()> action);
    static void whenModal(QWidget* window, std::function<void()> action);
    // Answers the next file box with the named file of its list (empty: cancel).
    static void chooseWhenAsked(const QString& name);
    // Presses a key in the window that has the focus (the modal one if any).
    static void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Runs the action inside the application's event loop, as the program's
    // handlers run; an action that ends the program's loop (a confirmed quit)
    // leaves the next test with a working loop.
    static void runInEventLoop(const std::function<void()>& action);

    std::string programDir() const;

    // Moves the main window to the screen of device pixel ratio 2 that the
    // high-density run configures beside the first one (tests/ui/screens.json)
    // and lets it repaint there; false, and nothing moved, without that screen.
    static bool moveToHighDensityScreen();
    // Back to the screen of ratio 1, repainted.
    static void moveToFirstScreen();

    QTemporaryDir m_dir;
};
