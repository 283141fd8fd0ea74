#pragma once
// The render command of voxacurve: the viewer's picture of curve files as
// PNG, SVG or PDF files, without a screen.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// render FILE... -o OUT.png|.svg|.pdf [options]
// render --each FILE... -o DIR [--format png|svg|pdf] [options]
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct CurvePicture {
    std::vector<unsigned char> bytes; // a PNG file's bytes
    std::optional<std::string> error; // set: why there is no picture, in words
};

// The picture render draws of one curve file or curve text with its default
// options, as a PNG of exactly width x height pixels (1 to 16384 a side):
// below the smallest picture of 492 x 188 it is drawn at that size and
// scaled down. Uses the running Qt application, or one without a screen
// made for the call.
CurvePicture RenderCurvePng(const std::string& path, int width, int height);
