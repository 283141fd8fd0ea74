#pragma once
// The program's own box: the splash picture at start-up, and later every
// question, error and notice (title line, body lines, one or two buttons).

#include <QDialog>
#include <QImage>
#include <string>
#include <vector>

class QPushButton;

// Result codes of the box.
constexpr int kBoxFirstButton = 26;
constexpr int kBoxSecondButton = 12;

// The box's frame around its client area, by the same fixed model as the main
// window: 4 pixels left, right and bottom, a 23-pixel title bar.
constexpr int kBoxFrameWidth = 8;
constexpr int kBoxFrameHeight = 27;

// The body of a message: one text line every 16 pixels, each centred; the
// first line is empty and lies above the client area.
class BodyLabel : public QWidget
{
public:
    explicit BodyLabel(QWidget* parent);
    void setLines(std::vector<QString> lines);
    const std::vector<QString>& lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::vector<QString> m_lines;
};

class TBox : public QDialog
{
    Q_OBJECT
public:
    TBox();

    // Splash: the box takes the picture's size and shows it, pure white
    // showing the box's background colour.
    void showSplash(const QImage& picture);
    // Draws the two splash lines relative to the picture's bottom edge.
    void drawSplashLines(const std::string& line1, const std::string& line2, int pictureHeight);

    int showMessage(const std::vector<std::string>& lines, const std::string& caption1,
        const std::string& caption2);

    // The canvas font that measures the texts of a message.
    QFont canvasFont() const { return m_canvasFont; }

    BodyLabel* L1;
    QPushButton* Btn1;
    QPushButton* Btn2;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void finish(int result);

    QImage m_splash; // empty when the box shows a message
    QFont m_canvasFont;
};

extern TBox* Box;
extern int BoxResult;

// Shows the message box; with a first caption waits for the answer and
// returns 26 (first button), 12 (second button or Esc) or 0.
int ShowBox(const std::vector<std::string>& lines, const std::string& caption1,
    const std::string& caption2);
// Closes the box and lets pending window messages be handled once.
void HideBox();
