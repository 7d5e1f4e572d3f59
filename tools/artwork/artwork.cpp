// Draws the editor's sixteen images into a directory:  zendrel_artwork <out-dir>
// Everything is vector drawing and DejaVu text, so the art can be changed here
// and regenerated instead of edited by hand. The panel is in panel.cpp, the
// controls in controls.cpp, the shared pieces in pieces.cpp, the primitives in
// paint.cpp.
#include <cstdio>
#include <string>

#include "tools/artwork/artwork.h"

using namespace zendrel::artwork;

namespace {

template <typename Draw>
bool render(const std::string& dir, const char* name, int w, int h, Draw draw) {
  Surface s(w, h);
  draw(s.cr);
  return save(s, dir, name);
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
