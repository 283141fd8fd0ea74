#include "app/qt/Windows.h"

#include "app/qt/QuitCommand.h"
#include "app/qt/TBox.h"
#include "app/qt/VoxaApplication.h"
#include "curves/qt/LoadFlows.h"
#include "dialogs/qt/TFileBox.h"
#include "output/qt/PrintCommand.h"
#include "output/qt/TPrintOptionsDlg.h"
#include "plot/qt/PlotView.h"
#include "ui/qt/Commands.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"

#include <QAction>

namespace
{

// A slot that runs the handler with its errors reported.
template <typename Handler> auto guarded(Handler handler)
{
    return [handler] { RunReportingErrors(handler); };
}

void wireKeysAndLayout(TMainForm& f)
{
    f.hooks.quit = QuitRequest;
    f.hooks.print = PrintClick;
    f.hooks.loadResponse = F1Click;
    f.hooks.loadImpedance = F2Click;
}

// From the next layout pass on, the off-screen bitmap takes the size of SigWin.
void followDataWindow(TMainForm& f)
{
    f.hooks.dataWindowSized = [&f] {
        SizeOffscreenBitmap();
        f.SigWin->setPicture(&OffscreenBitmap);
    };
}

void wireButtonsAndMenu(TMainForm& f)
{
    QObject::connect(f.F[0], &QToolButton::clicked, guarded(F1Click));
    QObject::connect(f.F[1], &QToolButton::clicked, guarded(F2Click));
    QObject::connect(f.ESCButton, &QToolButton::clicked, guarded(QuitRequest));
    QObject::connect(f.ExitSwitch, &QAction::triggered, guarded(QuitRequest));
    QObject::connect(f.PrintButton, &QToolButton::clicked, guarded(PrintClick));
    QObject::connect(f.Print, &QAction::triggered, guarded(PrintClick));
    QObject::connect(f.LoadH, &QAction::triggered, guarded(F1Click));
    QObject::connect(f.LoadZ, &QAction::triggered, guarded(F2Click));
    for (QToolButton* b : {f.UpButton, f.DownButton, f.ZoomYButton, f.ReZoomYButton})
        QObject::connect(b, &QToolButton::clicked, guarded([b] { YButtonClick(b); }));
    for (QToolButton* b : {f.LeftButton, f.RightButton, f.ZoomXButton, f.ReZoomXButton})
        QObject::connect(b, &QToolButton::clicked, guarded([b] { XButtonClick(b); }));
    for (QAction* a : {f.EA1, f.EE1, f.AE1, f.AA1})
        QObject::connect(a, &QAction::triggered, guarded([a] { EA1Click(a); }));
    for (QAction* a : {f.PrintOptions1, f.SelectZrv})
        QObject::connect(a, &QAction::triggered, guarded([a] { ParameterClick(a); }));
    for (QAction* a :
        {f.ScalingGrid1, f.SignalLines1, f.PhaseLines1, f.DataWindow1, f.DataWindowInscription1})
        QObject::connect(a, &QAction::triggered, guarded([a] { ColorClick(a); }));
    QObject::connect(f.DefaultColors1, &QAction::triggered, guarded(RecallDefault1Click));
    QObject::connect(f.Version, &QAction::triggered, guarded(VersionClick));
    QObject::connect(f.Messobjekt, &QAction::triggered, guarded(MessobjektClick));
    QObject::connect(f.Timer1, &QTimer::timeout, guarded(Timer1Timer));
}

void wirePlot(TMainForm& f)
{
    for (PaintBox* box : {f.SigWin, f.xAchse, f.yAchse, f.yAchseR})
        box->onPaint = [](PaintBox* sender) { RunReportingErrors([sender] { Redraw(sender); }); };
    f.SigWinFrame->onMouseMove = [](MouseFrame* s, Qt::KeyboardModifiers, Qt::MouseButtons,
                                     QPointF p) { CursorOut(s, p); };
    f.DatWinFrame->onMouseMove = f.SigWinFrame->onMouseMove;
    f.SigWinFrame->onMouseDown
        = [](MouseFrame* s, Qt::MouseButton button, Qt::KeyboardModifiers mods,
              Qt::MouseButtons buttons, QPointF p, bool dbl) {
              RunReportingErrors(
                  [=] { SigWinMouseDown(s, int(button), int(mods), int(buttons), p, dbl); });
          };
    f.DatWinFrame->onMouseDown = [&f](MouseFrame*, Qt::MouseButton button, Qt::KeyboardModifiers,
                                     Qt::MouseButtons, QPointF p, bool) {
        if (button != Qt::LeftButton)
            return;
        if (f.yAchse->geometry().contains(p.toPoint()))
            yAchseClick();
        else if (f.yAchseR->geometry().contains(p.toPoint()))
            yAchseRClick();
    };
}

// The one place where the main window's controls, keys and paint boxes meet
// the commands; the window itself knows none of them.
void wireMainForm(TMainForm& f)
{
    wireKeysAndLayout(f);
    wireButtonsAndMenu(f);
    wirePlot(f);
}

} // namespace

void CreateStartWindows()
{
    MainForm = new TMainForm;
    wireMainForm(*MainForm);
    MainForm->FormCreate();
    // The layout of the creation has the window's designed size, not yet the
    // configured one: a bitmap made for it would only be thrown away.
    followDataWindow(*MainForm);
    Box = new TBox;
}

void CreateWindows()
{
    CreateStartWindows();
    FileBoxInstance();
    PrintOptionsInstance();
}
