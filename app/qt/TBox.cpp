#include "app/qt/TBox.h"

#include "app/BoxGeometry.h"
#include "app/qt/FileNames.h"
#include "ui/qt/PaintBox.h"
#include "ui/qt/TMainForm.h"
#include "ui/qt/WindowSystem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

TBox* Box = nullptr;
int BoxResult = 0;

namespace
{

QFont arial(int pixels, bool bold = false, bool italic = false)
{
    QFont f("Arial");
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Lines may name files and directories (such as "Error reading " and a path).
QString boxText(const std::string& s)
{
    return FileNameText(std::string_view(s).substr(0, 255));
}

} // namespace

BodyLabel::BodyLabel(QWidget* parent)
    : QWidget(parent)
{
    setObjectName("L1");
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BodyLabel::setLines(std::vector<QString> lines)
{
    m_lines = std::move(lines);
    update();
}

void BodyLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(Qt::black);
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        p.drawText(QRect(0, int(i) * 16, width(), 16), Qt::AlignHCenter | Qt::AlignTop, m_lines[i]);
}

TBox::TBox()
{
    setObjectName("Box");
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog);
    setFont(arial(13));
    m_canvasFont = arial(13);
    // The box is never resized by the user: a fixed size also keeps the
    // window manager from giving it a resize handle along the bottom edge.
    setFixedSize(188, 40);
    L1 = new BodyLabel(this);
    L1->setFont(arial(13));
    L1->setGeometry(7, -12, 174, 16);
    Btn1 = new QPushButton(this);
    Btn1->setObjectName("Btn1");
    Btn2 = new QPushButton(this);
    Btn2->setObjectName("Btn2");
    Btn1->setGeometry(12, 6, 80, 25);
    Btn2->setGeometry(100, 6, 80, 25);
    // The box's keys are its own (Enter, F1, Esc, the rest handed on to the
    // main window): a focused button would answer Space.
    for (QPushButton* b : {Btn1, Btn2}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->hide();
    }
    connect(Btn1, &QPushButton::clicked, [this] { finish(kBoxFirstButton); });
    connect(Btn2, &QPushButton::clicked, [this] { finish(kBoxSecondButton); });
}

void TBox::showSplash(const QImage& picture)
{
    // Pure white shows the box's background colour.
    m_splash = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb face = palette().color(QPalette::Button).rgb();
    for (int y = 0; y < m_splash.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_splash.scanLine(y));
        for (int x = 0; x < m_splash.width(); ++x)
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = face;
    }
    setFixedSize(m_splash.size());
    Btn1->hide();
    CentreTopLevel(this);
    show();
    // Start-up goes on without handling window messages: the picture must be
    // on the screen before this returns.
    QElapsedTimer shown;
    shown.start();
    while (!windowHandle()->isExposed() && shown.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    repaint();
    QApplication::processEvents();
}

void TBox::drawSplashLines(const std::string& line1, const std::string& line2, int pictureHeight)
{
    if (m_splash.isNull())
        m_splash = QImage(size(), QImage::Format_RGB32);
    QPainter p(&m_splash);
    p.setPen(QColor(0, 0, 255));
    if (line2.empty()) {
        p.setFont(arial(13, true, true)); // 10 points
        p.drawText(13, pictureHeight - 28 + QFontMetrics(p.font()).ascent(), boxText(line1));
    } else {
        p.setFont(arial(11, true, true)); // 8 points
        const int ascent = QFontMetrics(p.font()).ascent();
        p.drawText(13, pictureHeight - 35 + ascent, boxText(line1));
        p.drawText(13, pictureHeight - 22 + ascent, boxText(line2));
    }
    // The message box measures its texts in the regular 10-point font.
    m_canvasFont = arial(13);
    if (isVisible())
        repaint();
}

int TBox::showMessage(
    const std::vector<std::string>& lines, const std::string& caption1, const std::string& caption2)
{
    if (isVisible())
        HideBox();
    m_splash = QImage();
    BoxResult = 0;
    Btn1->setText(boxText(caption1));
    Btn1->setVisible(!caption1.empty());
    Btn2->setText(boxText(caption2));
    Btn2->setVisible(!caption2.empty());
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);

    const QFontMetrics metrics(m_canvasFont);
    BoxGeometryInput in;
    in.titleWidth = lines.empty() ? 0 : metrics.horizontalAdvance(boxText(lines[0]));
    std::vector<QString> body {QString()};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        in.bodyLineWidths.push_back(metrics.horizontalAdvance(boxText(lines[i])));
        body.push_back(boxText(lines[i]));
    }
    in.btn1Shown = !caption1.empty();
    in.btn2Shown = !caption2.empty();
    in.btn1Width = Btn1->width();
    in.btn1Height = Btn1->height();
    if (MainForm) {
        in.clientOriginX = MainForm->clientOrigin().x();
        in.clientOriginY = MainForm->clientOrigin().y();
        in.mainWindowWidth = MainForm->outerWidth();
        in.sigWinFrameTop = MainForm->SigWinFrame->y();
        in.sigWinHeight = MainForm->SigWin->height();
    }
    const BoxGeometry g = ComputeBoxGeometry(in);

    setWindowTitle(lines.empty() ? QString() : boxText(lines[0]));
    L1->setLines(body);
    L1->setGeometry(g.L1Left, -12, g.L1Width, int(body.size()) * 16);
    Btn1->move(g.btn1Left, g.btn1Top);
    if (g.btn2Left)
        Btn2->move(*g.btn2Left, g.btn2Top);
    setFixedSize(std::max(1, g.width - kBoxFrameWidth), std::max(1, g.height - kBoxFrameHeight));
    PlaceTopLevel(this, QPoint(g.left, g.top));

    if (!caption1.empty()) {
        exec();
    } else {
        show();
    }
    QApplication::processEvents();
    return BoxResult;
}

void TBox::finish(int result)
{
    BoxResult = result;
    if (isModal())
        done(result);
    else
        hide();
}

void TBox::paintEvent(QPaintEvent*)
{
    if (m_splash.isNull())
        return;
    QPainter p(this);
    p.drawImage(0, 0, m_splash);
}

void TBox::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_F1 && Btn1->isVisible())) {
        finish(kBoxFirstButton);
    } else if (key == Qt::Key_Escape) {
        finish(kBoxSecondButton);
    } else if (MainForm) {
        // Every other key acts as if it had been pressed in the main window.
        MainForm->FormKeyDown(key, event->modifiers());
    }
}

int ShowBox(
    const std::vector<std::string>& lines, const std::string& caption1, const std::string& caption2)
{
    return Box->showMessage(lines, caption1, caption2);
}

void HideBox()
{
    Box->hide();
    QApplication::processEvents();
}
