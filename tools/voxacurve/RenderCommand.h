#pragma once
// The render command of voxacurve: the viewer's picture of curve files as
// PNG, SVG or PDF files, without a screen.

#include <iosfwd>
#include <string>
#include <vector>

// render FILE... -o OUT.png|.svg|.pdf [options]
// render --each FILE... -o DIR [--format png|svg|pdf] [options]
int RunRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
