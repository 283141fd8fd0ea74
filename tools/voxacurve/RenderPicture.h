#pragma once
// The pictures of render: curve files loaded as the viewer loads them and
// painted by the plot painter into PNG, SVG or PDF bytes.

#include "curves/CurveFile.h"
#include "tools/voxacurve/RenderOptions.h"

#include <QByteArray>
#include <QGuiApplication>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A curve file as a fresh slot of the viewer holds it: its values, then
// empty ones up to the slot's capacity (the trace may read a few beyond).
struct LoadedCurve {
    std::string name;
    CurveHeader header;
    std::vector<float> values;
    bool impedance = false;
};

// The curve of a curve file or curve text, smoothed when smoothing is set,
// or the reason the viewer refuses it.
std::variant<LoadedCurve, std::string> LoadCurve(
    const std::string& name, const CurveTextOptions& texts, std::optional<int> smoothing);

// A file and why it was refused.
using Refusal = std::pair<std::string, std::string>;

// The picture's bytes in the format; the curves whose drawing faulted are
// left out (as the viewer removes them) and go to `removed`.
QByteArray RenderPicture(PictureFormat format, const RenderOptions& options,
    const std::vector<const LoadedCurve*>& curves, std::vector<Refusal>& removed);

// The fonts need an application; the offscreen platform needs no display.
// Qt's notes about the desktop it runs in mean nothing here; its errors are
// passed on to stderr.
class GuiWithoutScreen
{
public:
    GuiWithoutScreen();

private:
    // Chooses the platform before the application starts; returns argc.
    static int& offscreen(int& argc);

    int m_argc = 1;
    char m_name[10] = "voxacurve";
    char* m_argv[2] = {m_name, nullptr};
    QGuiApplication m_app;
};
