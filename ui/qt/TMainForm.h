#pragma once
// The main window. Every control lies on the client area (the central
// widget) at pixel positions that SetSystemMetrics computes; no Qt layouts.
//
// Outer size: the program treats the window as if it had a fixed frame of
// 4 pixels left, right and bottom and 42 pixels above the client area, so the
// outer width is the client width + 8 and the outer height the client
// height + 46, whatever the window manager draws.

#include "ui/WindowFit.h"

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <functional>

class PaintBox;
class MouseFrame;
class QAction;

// The commands the window's keys and close box start, and what follows each
// layout pass; set where the commands are wired to the window. An unset hook
// does nothing.
struct MainFormHooks {
    std::function<void()> quit; // Esc and the close box
    std::function<void()> print; // P
    std::function<void()> loadResponse; // F1
    std::function<void()> loadImpedance; // F2
    std::function<void()> dataWindowSized; // after every layout pass
};

constexpr int kFrameWidth = 8; // outer width - client width
constexpr int kFrameHeight = 46; // outer height - client height

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Creates the controls and the menu; the commands are wired to them
    // before FormCreate lays the window out.
    TMainForm();

    // Outer size of the legacy frame model.
    int outerWidth() const;
    int outerHeight() const;
    void setOuterSize(int width, int height);
    // Gives the window the stored outer size, cut to the available area of its
    // screen, and lays it out.
    void fitStoredOuterSize(int width, int height);
    // The outer size a save writes: the stored size until the user changes the
    // window, so that a size from a larger screen is kept.
    WindowSize outerSizeToSave() const;
    // 0 normal, 1 minimised, 2 maximised.
    int stateCode() const;
    void applyStateCode(int code);
    // The client area's top-left corner on the screen.
    QPoint clientOrigin() const;
    // Places the window's outer size in the middle of the screen's work area.
    void centreOnScreen();

    void FormCreate();
    void SetSystemMetrics();
    // The window's key handler: Esc asks to quit, P prints. Also gets the keys
    // passed on from the message box. Returns whether the key was taken.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The keys bound beyond those, for the main window alone while it is the
    // active window, never from inside a box: F1 and F2 load like their soft
    // keys, the arrow keys step the scales (with Ctrl: zoom).
    bool ExtraKeyDown(int key, Qt::KeyboardModifiers modifiers);

    QWidget* client;
    std::array<QToolButton*, 9> F {}; // F1 ... F9
    QToolButton* ESCButton;
    QToolButton* PrintButton;
    QToolButton* UpButton;
    QToolButton* ZoomYButton;
    QToolButton* ReZoomYButton;
    QToolButton* DownButton;
    QToolButton* LeftButton;
    QToolButton* ZoomXButton;
    QToolButton* ReZoomXButton;
    QToolButton* RightButton;
    QLabel* InfoPanel;
    QFrame* Bevel1;
    QFrame* Bevel2;
    MouseFrame* DatWinFrame;
    PaintBox* yAchse;
    PaintBox* yAchseR;
    PaintBox* xAchse;
    QLabel* Positionslabel;
    MouseFrame* SigWinFrame;
    PaintBox* SigWin;
    QLabel* MO;
    QLabel* Zeit;
    QTimer* Timer1;

    // Menu entries.
    QAction* LoadH;
    QAction* LoadZ;
    QAction* Print;
    QAction* ExitSwitch;
    QAction* EA1;
    QAction* EE1;
    QAction* AE1;
    QAction* AA1;
    QAction* PrintOptions1;
    QAction* SelectZrv;
    QAction* ScalingGrid1;
    QAction* SignalLines1;
    QAction* PhaseLines1;
    QAction* DataWindow1;
    QAction* DataWindowInscription1;
    QAction* DefaultColors1;
    QAction* Version;
    QAction* Messobjekt;

    MainFormHooks hooks;

    // The navigation buttons in the order of the second row.
    std::array<QToolButton*, 8> navigationButtons() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenu();
    QToolButton* makeSpeedButton(const QString& name, const QRect& designed);

    bool m_inLayout = false;
    WindowFit m_fit;
};

extern TMainForm* MainForm;
// Set when the data window changes size; the next paint of SigWin rebuilds the plot.
extern bool LayoutChanged;
// The label painter's normal soft-key width.
extern int SoftKeyWidth;
