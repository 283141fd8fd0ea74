#include "ui/qt/TMainForm.h"

#include "app/SettingsRecord.h"
#include "app/qt/VoxaApplication.h"
#include "ui/MainLayout.h"
#include "ui/qt/Colours.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/Glyphs.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/WindowSystem.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>

TMainForm* MainForm = nullptr;
bool LayoutChanged = false;
int SoftKeyWidth = 79;

namespace
{

void run(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

// Designed lefts and widths of the soft keys, kept until the label painter sets them.
constexpr std::array<std::pair<int, int>, 9> kDesignedSoftKeys {{{0, 81}, {79, 82}, {161, 85},
    {247, 79}, {329, 71}, {400, 66}, {467, 64}, {533, 73}, {605, 73}}};

} // namespace

TMainForm::TMainForm()
{
    MainForm = this; // the layout pass of the creation already needs the instance
    setObjectName("MainForm");
    setWindowTitle(" Sonivex");
    setFont(PixelFont("System", 13, true));
    client = new QWidget(this);
    client->setObjectName("client");
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    createControls();
    createMenu();
}

QToolButton* TMainForm::makeSpeedButton(const QString& name, const QRect& designed)
{
    auto* b = new QToolButton(client);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(PixelFont("Arial", 12, true));
    b->setGeometry(designed);
    return b;
}

void TMainForm::createControls()
{
    for (int i = 0; i < 9; ++i)
        F[i] = makeSpeedButton(QString("F%1").arg(i + 1),
            QRect(kDesignedSoftKeys[i].first, 2, kDesignedSoftKeys[i].second, 23));
    ESCButton = makeSpeedButton("ESCButton", QRect(0, 27, 49, 20));
    ESCButton->setText("ESC");
    PrintButton = makeSpeedButton("PrintButton", QRect(49, 27, 26, 20));
    PrintButton->setIcon(MakeGlyph(Glyph::Printer));
    PrintButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const std::array<std::pair<QToolButton**, Glyph>, 8> nav {
        {{&UpButton, Glyph::Up}, {&ZoomYButton, Glyph::ZoomY}, {&ReZoomYButton, Glyph::ReZoomY},
            {&DownButton, Glyph::Down}, {&LeftButton, Glyph::Left}, {&ZoomXButton, Glyph::ZoomX},
            {&ReZoomXButton, Glyph::ReZoomX}, {&RightButton, Glyph::Right}}};
    const std::array<const char*, 8> navNames {"UpButton", "ZoomYButton", "ReZoomYButton",
        "DownButton", "LeftButton", "ZoomXButton", "ReZoomXButton", "RightButton"};
    for (std::size_t i = 0; i < nav.size(); ++i) {
        *nav[i].first = makeSpeedButton(navNames[i], QRect(110 + 26 * int(i), 27, 26, 20));
        (*nav[i].first)->setIcon(MakeGlyph(nav[i].second));
        (*nav[i].first)->setVisible(false); // shown once the settings are loaded
    }

    InfoPanel = new QLabel(client);
    InfoPanel->setObjectName("InfoPanel");
    InfoPanel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    InfoPanel->setFont(PixelFont("Arial", 12));

    Bevel1 = new QFrame(client);
    Bevel1->setObjectName("Bevel1");
    Bevel2 = new QFrame(client);
    Bevel2->setObjectName("Bevel2");
    for (QFrame* bevel : {Bevel1, Bevel2}) {
        bevel->setFrameStyle(QFrame::HLine | QFrame::Raised);
        bevel->setGeometry(0, 0, 1024, 2);
    }

    DatWinFrame = new MouseFrame(client, "DatWinFrame", 1);
    yAchse = new PaintBox(DatWinFrame, "yAchse");
    yAchseR = new PaintBox(DatWinFrame, "yAchseR");
    xAchse = new PaintBox(DatWinFrame, "xAchse");
    for (PaintBox* strip : {yAchse, yAchseR, xAchse})
        strip->setFont(PixelFont("Arial", 11));
    Positionslabel = new QLabel(DatWinFrame);
    Positionslabel->setObjectName("Positionslabel");
    Positionslabel->setFont(PixelFont("Arial", 12));
    Positionslabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    Positionslabel->setGeometry(50, 2, 400, 16);

    SigWinFrame = new MouseFrame(client, "SigWinFrame", 2);
    SigWin = new PaintBox(SigWinFrame, "SigWin");
    SigWin->setFont(PixelFont("Arial", 11, true));

    MO = new QLabel(client);
    MO->setObjectName("MO");
    MO->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Zeit = new QLabel(client);
    Zeit->setObjectName("Zeit");
    Zeit->setAlignment(Qt::AlignCenter);
    for (QLabel* panel : {MO, Zeit}) {
        panel->setFont(PixelFont("Arial", 11));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setAutoFillBackground(true);
    }

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
}

void TMainForm::createMenu()
{
    QMenu* datei = menuBar()->addMenu("&File  ");
    LoadH = datei->addAction("&Load Freuqency Resp. Curve");
    LoadZ = datei->addAction("Load &Impedance Curve");
    Print = datei->addAction("&Print");
    ExitSwitch = datei->addAction("&Quit");

    QMenu* parameter = menuBar()->addMenu("&Load...    ");
    EA1 = parameter->addAction("Loudspeaker (electrical-acoustical)");
    EE1 = parameter->addAction("Electrical systems (e.g. Amplifiers)");
    AE1 = parameter->addAction("Microphons  (acoustical-elecrical)");
    AA1 = parameter->addAction("Room transfer function");
    // One exclusive group: one entry carries the mark, shown as a radio mark.
    auto* kinds = new QActionGroup(parameter);
    kinds->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (QAction* a : {EA1, EE1, AE1, AA1}) {
        a->setCheckable(true);
        kinds->addAction(a);
    }
    EA1->setChecked(true);

    QMenu* options = menuBar()->addMenu("Op&tions    ");
    PrintOptions1 = options->addAction("&Print Options");
    QMenu* colours = options->addMenu("&Desktop Colors");
    ScalingGrid1 = colours->addAction("Scaling Grid");
    SignalLines1 = colours->addAction("Signal Lines");
    PhaseLines1 = colours->addAction("Phase Lines");
    PhaseLines1->setVisible(false);
    DataWindow1 = colours->addAction("Data Window");
    DataWindowInscription1 = colours->addAction("Data Window Inscription");
    DefaultColors1 = colours->addAction("Default Colors");
    SelectZrv = options->addAction("&Select Serial Resistor");

    QMenu* info = menuBar()->addMenu("&Info");
    Version = info->addAction("&Version");
    Messobjekt = info->addAction("&Remarks");
}

std::array<QToolButton*, 8> TMainForm::navigationButtons() const
{
    return {UpButton, ZoomYButton, ReZoomYButton, DownButton, LeftButton, ZoomXButton,
        ReZoomXButton, RightButton};
}

void TMainForm::FormCreate()
{
    SetSystemMetrics();
    qApp->installEventFilter(this); // keyboard preview: the window sees keys first
    LayoutChanged = true;
}

// The client area spans the window's width and lies below the menu bar.
// Computed from the window's own size, which is right even before the window
// is shown and the client area is laid out.
int TMainForm::outerWidth() const
{
    return width() + kFrameWidth;
}
int TMainForm::outerHeight() const
{
    return height() - menuBar()->sizeHint().height() + kFrameHeight;
}

void TMainForm::setOuterSize(int width, int height)
{
    const int menuHeight = menuBar()->sizeHint().height();
    resize(std::max(1, width - kFrameWidth), std::max(1, height - kFrameHeight) + menuHeight);
}

void TMainForm::fitStoredOuterSize(int width, int height)
{
    const QRect area = screen()->availableGeometry();
    m_fit = FitWindowSize({width, height}, {area.width(), area.height()});
    setOuterSize(m_fit.shown.width, m_fit.shown.height);
    SetSystemMetrics();
    // A fitted size is what the layout made of it: the size the user has not
    // changed yet.
    if (m_fit.shown != m_fit.stored)
        m_fit.shown = {outerWidth(), outerHeight()};
}

WindowSize TMainForm::outerSizeToSave() const
{
    return SavedWindowSize(m_fit, {outerWidth(), outerHeight()});
}

int TMainForm::stateCode() const
{
    if (isMinimized())
        return 1;
    return isMaximized() ? 2 : 0;
}

void TMainForm::applyStateCode(int code)
{
    if (code == 1)
        setWindowState(Qt::WindowMinimized);
    else if (code == 2)
        setWindowState(Qt::WindowMaximized);
    else
        setWindowState(Qt::WindowNoState);
}

QPoint TMainForm::clientOrigin() const
{
    return client->mapToGlobal(QPoint(0, 0));
}

void TMainForm::centreOnScreen()
{
    if (OnWayland())
        return;
    const QRect area = screen()->availableGeometry();
    const int left = area.x() + (area.width() - outerWidth()) / 2;
    const int top = area.y() + (area.height() - outerHeight()) / 2;
    // The outer frame is 4 pixels wide at the sides and at the bottom; above
    // the client area it holds the title bar and the menu bar, which is part
    // of this window.
    const int side = kFrameWidth / 2;
    const int clientLeft = left + side;
    const int clientTop = top + kFrameHeight - side;
    setGeometry(clientLeft, clientTop - menuBar()->sizeHint().height(), width(), height());
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    FormCreate();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The desktop's close request is answered by the quit question.
    event->ignore();
    run(hooks.quit);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            auto* key = static_cast<QKeyEvent*>(event);
            // A key whose command failed counts as taken: handed on to the
            // parent widgets, it would run the command again.
            bool taken = true;
            const bool active = QApplication::activeWindow() == this;
            RunReportingErrors([&] {
                taken = FormKeyDown(key->key(), key->modifiers())
                    || (active && ExtraKeyDown(key->key(), key->modifiers()));
            });
            if (taken)
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    switch (key) {
    case Qt::Key_Escape:
        run(hooks.quit);
        return true;
    case Qt::Key_P:
        run(hooks.print);
        return true;
    default:
        return false;
    }
}

bool TMainForm::ExtraKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_F1:
        run(hooks.loadResponse);
        return true;
    case Qt::Key_F2:
        run(hooks.loadImpedance);
        return true;
    // The arrow keys never move the focus: they step the scales like the
    // navigation buttons (with Ctrl: zoom).
    case Qt::Key_Right:
        ctrl ? ZoomXButton->click() : RightButton->click();
        return true;
    case Qt::Key_Left:
        ctrl ? ReZoomXButton->click() : LeftButton->click();
        return true;
    case Qt::Key_Up:
        ctrl ? ZoomYButton->click() : UpButton->click();
        return true;
    case Qt::Key_Down:
        ctrl ? ReZoomYButton->click() : DownButton->click();
        return true;
    default:
        return false;
    }
}

namespace
{

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, std::max(0, r.width), std::max(0, r.height));
}

void setPanelColour(QWidget* w, const QColor& colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
}

} // namespace

void TMainForm::SetSystemMetrics()
{
    MainLayoutInput in;
    in.windowWidth = outerWidth();
    in.windowHeight = outerHeight();
    for (int i = 0; i < 9; ++i)
        in.softKeys[i] = {F[i]->x(), F[i]->y(), F[i]->width(), F[i]->height()};
    in.escButtonWidth = ESCButton->width();
    in.datWinFrameWidth = DatWinFrame->width();
    in.sigWinFrameHeight = SigWinFrame->height();
    const MainLayout l = ComputeMainLayout(in);

    if (l.LayoutChanged)
        LayoutChanged = true;
    if (l.windowResized && !m_inLayout) {
        m_inLayout = true;
        setOuterSize(l.windowWidth, l.windowHeight);
        m_inLayout = false;
    }
    SoftKeyWidth = l.SoftKeyWidth;

    const QColor axisPanel = ToQColor(Settings.AxisPanelColor);
    setPanelColour(client, axisPanel);
    for (int i = 0; i < 9; ++i)
        F[i]->setGeometry(toQRect(l.softKeys[i]));
    ESCButton->setGeometry(toQRect(l.ESCButton));
    PrintButton->setGeometry(toQRect(l.PrintButton));
    const std::array<const Rect*, 8> nav {&l.UpButton, &l.ZoomYButton, &l.ReZoomYButton,
        &l.DownButton, &l.LeftButton, &l.ZoomXButton, &l.ReZoomXButton, &l.RightButton};
    const auto buttons = navigationButtons();
    for (std::size_t i = 0; i < nav.size(); ++i)
        buttons[i]->setGeometry(toQRect(*nav[i]));
    Bevel1->setGeometry(toQRect(l.Bevel1));
    Bevel2->setGeometry(toQRect(l.Bevel2));
    InfoPanel->setGeometry(toQRect(l.InfoPanel));
    Zeit->setGeometry(toQRect(l.Zeit));
    setPanelColour(Zeit, axisPanel);
    MO->setGeometry(toQRect(l.MO));
    setPanelColour(MO, axisPanel);
    SigWinFrame->setGeometry(toQRect(l.SigWinFrame));
    SigWinFrame->setFillColour(ToQColor(Settings.DataWindowColor));
    Positionslabel->move(l.PositionslabelLeft, Positionslabel->y());
    DatWinFrame->setGeometry(toQRect(l.DatWinFrame));
    DatWinFrame->setFillColour(axisPanel);
    SigWin->setGeometry(toQRect(l.SigWin));
    yAchse->setGeometry(toQRect(l.yAchse));
    yAchseR->setGeometry(toQRect(l.yAchseR));
    xAchse->setGeometry(toQRect(l.xAchse));
    SigWinFrame->raise();
    run(hooks.dataWindowSized);
}
