#include "UiFixture.h"

#include "output/qt/TPrintOptionsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <vector>

namespace
{

// Runs the action once the platform's print dialog is the modal window.
void whenPrintDialogShown(std::function<void()> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action();
        }
    });
    timer->start();
}

struct StoredOptions {
    int landscape, toBmp, blackWhite;
    bool operator==(const StoredOptions&) const = default;
};

StoredOptions storedOptions()
{
    return {Settings.PrintLandscape, Settings.PrintToBmp, Settings.PrintBlackWhite};
}

class PrintOptions : public UiTest
{
protected:
    // Opens the dialog and runs the action in it; the action closes it.
    static void inDialog(std::function<void()> action)
    {
        whenModal(std::move(action));
        ShowPrintOptions();
        EXPECT_FALSE(PrintOptionsDlg->isVisible());
    }
};

TEST_F(PrintOptions, FormAndControlsStandWhereDesigned)
{
    struct Control {
        const char* name;
        QRect geometry;
        QString caption;
    };
    const std::vector<Control> controls {
        {"OKBtn", {244, 12, 73, 25}, "ok"},
        {"GroupBox4", {8, 4, 225, 97}, ""},
        {"PortraitBtn", {8, 17, 69, 17}, "Portrait"},
        {"LandscapeBtn", {8, 43, 85, 17}, "Landscape"},
        {"BMPFileBtn", {8, 68, 85, 17}, "BMP-File"},
        {"BlackWhiteBtn", {108, 16, 89, 21}, "Black&White"},
        {"PrinterBtn", {108, 60, 97, 21}, "&Select Printer"},
    };
    EXPECT_EQ(PrintOptionsDlg->windowTitle(), "VOXA 32 Printer Options");
    EXPECT_EQ(PrintOptionsDlg->size(), QSize(327, 114));
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* w = PrintOptionsDlg->findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), c.geometry);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text(), c.caption);
        }
    }
    EXPECT_EQ(PrintOptionsDlg->OKBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(PrintOptionsDlg->PrinterBtn->focusPolicy(), Qt::NoFocus);
}

TEST_F(PrintOptions, OpeningShowsTheStoredChoiceWithBmpWinning)
{
    struct Case {
        StoredOptions stored;
        QRadioButton* TPrintOptionsDlg::*checked;
    };
    const std::vector<Case> cases {
        {{0, 0, 0}, &TPrintOptionsDlg::PortraitBtn},
        {{1, 0, 1}, &TPrintOptionsDlg::LandscapeBtn},
        {{1, 1, 0}, &TPrintOptionsDlg::BMPFileBtn},
        {{0, 1, 1}, &TPrintOptionsDlg::BMPFileBtn},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            testing::Message() << c.stored.landscape << c.stored.toBmp << c.stored.blackWhite);
        Settings.PrintLandscape = uint8_t(c.stored.landscape);
        Settings.PrintToBmp = uint8_t(c.stored.toBmp);
        Settings.PrintBlackWhite = uint8_t(c.stored.blackWhite);
        inDialog([&c] {
            EXPECT_TRUE((PrintOptionsDlg->*c.checked)->isChecked());
            EXPECT_EQ(PrintOptionsDlg->BlackWhiteBtn->isChecked(), c.stored.blackWhite != 0);
            PrintOptionsDlg->OKBtn->click();
        });
        EXPECT_EQ(storedOptions(), c.stored) << "ok stores what was shown";
    }
}

TEST_F(PrintOptions, BmpAfterLandscapeKeepsTheOrientationAndPortraitClearsBmp)
{
    inDialog([] {
        PrintOptionsDlg->LandscapeBtn->click();
        pressKey(Qt::Key_Return);
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {1, 0, 0}));
    inDialog([] {
        PrintOptionsDlg->BMPFileBtn->click();
        pressKey(Qt::Key_Return);
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {1, 1, 0}));
    inDialog([] {
        EXPECT_TRUE(PrintOptionsDlg->BMPFileBtn->isChecked());
        EXPECT_FALSE(PrintOptionsDlg->LandscapeBtn->isChecked());
        PrintOptionsDlg->PortraitBtn->click();
        pressKey(Qt::Key_Return);
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {0, 0, 0}));
}

TEST_F(PrintOptions, EscKeepsTheChangesEvenFromTheFocusedControl)
{
    inDialog([] {
        PrintOptionsDlg->LandscapeBtn->click();
        PrintOptionsDlg->BlackWhiteBtn->click();
        pressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {1, 0, 1}));
    // Key preview: the dialog sees Esc before the control with the focus.
    inDialog([] {
        PrintOptionsDlg->BMPFileBtn->click();
        QTest::keyClick(PrintOptionsDlg->BlackWhiteBtn, Qt::Key_Escape);
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {1, 1, 1}));
}

TEST_F(PrintOptions, ClosingThroughTheDesktopKeepsTheSettings)
{
    inDialog([] {
        PrintOptionsDlg->LandscapeBtn->click();
        PrintOptionsDlg->BlackWhiteBtn->click();
        PrintOptionsDlg->close();
    });
    EXPECT_EQ(storedOptions(), (StoredOptions {0, 0, 0}));
}

TEST_F(PrintOptions, SOpensThePrintDialogAndLeavesTheOptionsOpen)
{
    bool printDialogShown = false;
    bool optionsOpenMeanwhile = false;
    bool optionsOpenAfter = false;
    inDialog([&] {
        whenPrintDialogShown([&] {
            printDialogShown = true;
            optionsOpenMeanwhile = PrintOptionsDlg->isVisible();
            pressKey(Qt::Key_Escape);
        });
        pressKey(Qt::Key_S);
        optionsOpenAfter = PrintOptionsDlg->isVisible();
        PrintOptionsDlg->LandscapeBtn->click();
        pressKey(Qt::Key_Return);
    });
    EXPECT_TRUE(printDialogShown);
    EXPECT_TRUE(optionsOpenMeanwhile);
    EXPECT_TRUE(optionsOpenAfter);
    EXPECT_EQ(storedOptions(), (StoredOptions {1, 0, 0}));
}

} // namespace
