// Draws the editor's sixteen images into a directory, each at 1x, 2x and 3x
// density:  zendrel_artwork <out-dir>
// Everything is vector drawing and DejaVu text, so the art can be changed here
// and regenerated instead of edited by hand. The panel is in panel.cpp, the
// controls in controls.cpp, the shared pieces in pieces.cpp, the primitives in
// paint.cpp.
#include <cstdio>
#include <string>

#include "tools/artwork/artwork.h"

using namespace zendrel::artwork;

namespace {

// The densities drawn; NAME.PNG is 1x, NAME@2X.PNG and NAME@3X.PNG the denser sets.
constexpr int kDensities[] = {1, 2, 3};

std::string nameAt(const std::string& name, int density) {
  if (density == 1) return name;
  const std::size_t dot = name.rfind('.');
  const std::string suffix = "@" + std::to_string(density) + "X";
  return dot == std::string::npos ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
}

// Every set from the same drawing in logical pixels, on a surface density times the 1x size.
template <typename Draw>
bool render(const std::string& dir, const char* name, int w, int h, Draw draw) {
  bool ok = true;
  for (int density : kDensities) {
    Surface s(w, h, density);
    draw(s.cr);
    ok &= save(s, dir, nameAt(name, density).c_str());
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  ok &= render(dir, "BASE.PNG", 900, 550, drawBase);
  ok &= render(dir, "SLIDERSLOT1.PNG", 40, 200, [](cairo_t* cr) { drawSlot(cr, 40, 200, 8); });
  ok &= render(dir, "SLIDERBLUEBIG.PNG", 40, 28, [](cairo_t* cr) { drawHandle(cr, 40, 28); });
  ok &= render(dir, "SLIDERSLOT3.PNG", 18, 95, [](cairo_t* cr) { drawSlot(cr, 18, 95, 0); });
  ok &= render(dir, "SLIDERBLUESMALL.PNG", 18, 28, [](cairo_t* cr) { drawHandle(cr, 18, 28); });
  ok &= render(dir, "NOTELENGTHINDICATOR.PNG", 40, 364, [](cairo_t* cr) {
    for (int j = 0; j < 13; ++j) valueBox(cr, j * 28, kNoteValues[j]);
  });
  ok &= render(dir, "STEPCOUNTINDICATOR.PNG", 40, 896, [](cairo_t* cr) {
    for (int n = 1; n <= 32; ++n) valueBox(cr, (n - 1) * 28, std::to_string(n));
  });
  ok &= render(dir, "STEP.PNG", 790, 408, drawStepStrip);
  ok &= render(dir, "STEPSMALL.PNG", 790, 768, drawStepSmallStrip);
  ok &= render(dir, "SPLASHSCREEN.PNG", 500, 300, drawSplash);
  ok &= render(dir, "CURRENTPAGE.PNG", 90, 56, drawCurrentPage);
  ok &= render(dir, "MERGE.PNG", 40, 40, drawMerge);
  ok &= render(dir, "INCREMENT.PNG", 20, 36, [](cairo_t* cr) { drawPlusMinus(cr, true); });
  ok &= render(dir, "DECREMENT.PNG", 20, 36, [](cairo_t* cr) { drawPlusMinus(cr, false); });
  ok &= render(dir, "TOGGLE.PNG", 40, 54, drawToggle);
  ok &= render(dir, "INFOBUTTON.PNG", 40, 80, drawInfoStrip);
  return ok ? 0 : 1;
}
