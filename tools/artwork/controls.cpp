// The controls' images: slider slots and handles, the step light strips, the
// page switch, merge, plus and minus buttons, the toggle, the information
// button strip and the splash screen.
#include <cmath>
#include <string>

#include "tools/artwork/artwork.h"

namespace zendrel::artwork {

// ---- sliders --------------------------------------------------------------

void drawSlot(cairo_t* cr, int w, int h, int ticks) {
  roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
  verticalGradient(cr, 0, h, hex(0x111316), hex(0x16191c));
  cairo_fill_preserve(cr);
  set(cr, hex(0x000000, 0.8));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // bottom lip catches light
  cairo_move_to(cr, 3, h - 0.5);
  cairo_line_to(cr, w - 3, h - 0.5);
  set(cr, hex(0xffffff, 0.08));
  cairo_stroke(cr);
  // the groove the handle runs in, between its centre positions
  const double gw = w >= 30 ? 6 : 4;
  const double gx = (w - gw) / 2;
  roundedRect(cr, gx, 10, gw, h - 20, gw / 2);
  set(cr, kSlot);
  cairo_fill_preserve(cr);
  set(cr, hex(0x2a3038));
  cairo_stroke(cr);
  // a thin blue line down the groove
  cairo_rectangle(cr, w / 2.0 - 0.5, 12, 1, h - 24);
  set(cr, hex(0x1e5a8c, 0.7));
  cairo_fill(cr);
  // scale ticks beside the groove
  if (ticks > 0) {
    for (int k = 0; k <= ticks; ++k) {
      const double y = std::round(14 + (h - 28) * k / double(ticks)) + 0.5;
      const bool major = k % (ticks / 2) == 0;
      const double len = major ? 6 : 4;
      cairo_move_to(cr, gx - 3, y);
      cairo_line_to(cr, gx - 3 - len, y);
      cairo_move_to(cr, gx + gw + 3, y);
      cairo_line_to(cr, gx + gw + 3 + len, y);
      set(cr, major ? hex(0x5d6b78) : hex(0x3c4650));
      cairo_stroke(cr);
    }
  }
}

void drawHandle(cairo_t* cr, int w, int h) {
  // drop shadow
  roundedRect(cr, 1, 2, w - 2, h - 2, 3.5);
  set(cr, hex(0x000000, 0.45));
  cairo_fill(cr);
  roundedRect(cr, 0.5, 0.5, w - 1, h - 2.5, 3.5);
  verticalGradient(cr, 0, h - 2, hex(0x4aa8ff), hex(0x1550a0));
  cairo_fill_preserve(cr);
  set(cr, hex(0x0b2a52));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  roundedRect(cr, 1.5, 1.5, w - 3, h - 4.5, 2.5);
  set(cr, hex(0xa8dcff, 0.45));
  cairo_stroke(cr);
  // grip ridges and the bright centre mark
  const double cy = (h - 2) / 2.0;
  for (int k : {-2, 2}) {
    const double y = std::round(cy + k * 2.5) + 0.5;
    cairo_move_to(cr, 4, y);
    cairo_line_to(cr, w - 4, y);
    set(cr, hex(0x0a2d5a, 0.7));
    cairo_stroke(cr);
    cairo_move_to(cr, 4, y + 1);
    cairo_line_to(cr, w - 4, y + 1);
    set(cr, hex(0x8ccfff, 0.35));
    cairo_stroke(cr);
  }
  cairo_rectangle(cr, 2, std::round(cy) - 1, w - 4, 2);
  set(cr, hex(0xe6fbff));
  cairo_fill(cr);
}

// ---- strips ---------------------------------------------------------------

const char* const kNoteValues[13] = {"1/64", "1/64.", "1/32", "1/32.", "1/16", "1/16.", "1/8",
                                     "1/8.", "1/4",  "1/4.",  "1/2",   "1/2.",  "1"};

static void lightBar(cairo_t* cr, double x, double y, double w, double h, bool lit) {
  if (lit) {
    struct Box {
      double x, y, w, h;
    } box{x, y, w, h};
    glow(
        cr,
        [](cairo_t* c, const void* a) {
          const Box* b = static_cast<const Box*>(a);
          roundedRect(c, b->x, b->y, b->w, b->h, 2.5);
        },
        &box, kCyan, 3.5);
  }
  roundedRect(cr, x, y, w, h, 2.5);
  if (lit)
    verticalGradient(cr, y, y + h, hex(0xc8f6ff), hex(0x22c4f4));
  else
    verticalGradient(cr, y, y + h, hex(0x1c2d3e), hex(0x142230));
  cairo_fill_preserve(cr);
  set(cr, lit ? hex(0x7fe8ff) : hex(0x0a121a));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  if (!lit) {
    cairo_move_to(cr, x + 2, y + 1.5);
    cairo_line_to(cr, x + w - 2, y + 1.5);
    set(cr, hex(0x3a5a78, 0.5));
    cairo_stroke(cr);
  }
}

void drawStepStrip(cairo_t* cr) {
  for (int f = 0; f < 17; ++f)
    for (int i = 0; i < 16; ++i) lightBar(cr, 50 * i + 0.5, f * 24 + 7.5, 39, 9, i == f);
}

// 32 bars over 790 pixels, in groups of four with a wider gap between groups.
static void smallBarX(int k, double& x, double& w) {
  const double bar = 19.5, gap = 4.5, groupGap = (790 - 8 * (4 * bar + 3 * gap)) / 7.0;
  const int g = k / 4, m = k % 4;
  x = g * (4 * bar + 3 * gap + groupGap) + m * (bar + gap);
  w = bar;
}

void drawStepSmallStrip(cairo_t* cr) {
  for (int f = 0; f < 32; ++f)
    for (int k = 0; k < 32; ++k) {
      double x, w;
      smallBarX(k, x, w);
      lightBar(cr, x + 1.5, f * 24 + 9.5, w - 3, 6, k == f);
    }
}

void drawCurrentPage(cairo_t* cr) {
  for (int f = 0; f < 2; ++f) {
    const double y = f * 28;
    for (int b = 0; b < 2; ++b) {
      const double x = b * 47;
      const bool lit = b == f;
      roundedRect(cr, x + 0.5, y + 0.5, 42, 27, 4);
      if (lit)
        verticalGradient(cr, y, y + 28, hex(0x6fe6ff), hex(0x159fd8));
      else
        verticalGradient(cr, y, y + 28, hex(0x30363d), hex(0x1c2025));
      cairo_fill_preserve(cr);
      set(cr, lit ? hex(0x0b3d5c) : hex(0x0b0d0f));
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      roundedRect(cr, x + 1.5, y + 1.5, 40, 25, 3);
      set(cr, lit ? hex(0xffffff, 0.45) : hex(0xffffff, 0.08));
      cairo_stroke(cr);
      text(cr, b == 0 ? "A" : "B", x + 21.5, y + 14, Font{kSans, 13, true},
           lit ? hex(0x062438) : hex(0x7d8a97));
    }
  }
}

static void arrowPath(cairo_t* cr, const void*) {
  cairo_move_to(cr, 6, 10);
  cairo_line_to(cr, 29, 10);
  cairo_move_to(cr, 25, 5);
  cairo_line_to(cr, 33, 10);
  cairo_line_to(cr, 25, 15);
}

void drawMerge(cairo_t* cr) {
  for (int f = 0; f < 2; ++f) {
    cairo_save(cr);
    cairo_translate(cr, 0, f * 20);
    cairo_rectangle(cr, 0, 0, 40, 20);
    cairo_clip(cr);
    const bool on = f == 1;
    if (on) glow(cr, arrowPath, nullptr, kCyan, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    arrowPath(cr, nullptr);
    cairo_set_line_width(cr, 3.2);
    set(cr, on ? hex(0x03141f, 0.6) : hex(0x000000, 0.5));
    cairo_stroke(cr);
    arrowPath(cr, nullptr);
    cairo_set_line_width(cr, 2.2);
    set(cr, on ? hex(0x7ff0ff) : hex(0x1e4f86));
    cairo_stroke(cr);
    cairo_restore(cr);
  }
}

void drawPlusMinus(cairo_t* cr, bool plus) {
  for (int f = 0; f < 2; ++f) {
    const double y = f * 18;
    const bool lit = f == 1;
    roundedRect(cr, 1, y + 1, 18, 16, 3);
    if (lit)
      verticalGradient(cr, y, y + 18, hex(0x5fdcff), hex(0x1794d0));
    else
      verticalGradient(cr, y, y + 18, hex(0x3a4048), hex(0x23272c));
    cairo_fill_preserve(cr);
    set(cr, hex(0x08090b));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    roundedRect(cr, 2, y + 2, 16, 14, 2);
    set(cr, lit ? hex(0xffffff, 0.4) : hex(0xffffff, 0.1));
    cairo_stroke(cr);
    const Colour ink = lit ? hex(0x05283f) : hex(0xc9d3dc);
    set(cr, ink);
    cairo_rectangle(cr, 6, y + 8, 8, 2);
    if (plus) cairo_rectangle(cr, 9, y + 5, 2, 8);
    cairo_fill(cr);
  }
}

void drawSplash(cairo_t* cr) {
  const int W = 500, H = 300;
  cairo_rectangle(cr, 0, 0, W, H);
  verticalGradient(cr, 0, H, hex(0x2a2f35), hex(0x15171a));
  cairo_fill(cr);
  // cyan gate line across the upper area, faint
  gateMotif(cr, 30, 40, 440, 70, hex(0x3fdcff, 0.12), 2);
  // frame
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, W - 1, H - 1);
  set(cr, kRimDark);
  cairo_stroke(cr);
  cairo_rectangle(cr, 1.5, 1.5, W - 3, H - 3);
  set(cr, kCyanDeep);
  cairo_stroke(cr);
  cairo_rectangle(cr, 4.5, 4.5, W - 9, H - 9);
  set(cr, hex(0xffffff, 0.06));
  cairo_stroke(cr);
  // title
  const Font title{kSans, 48, true};
  useFont(cr, title);
  cairo_text_extents_t cap;
  extents(cr, "H", &cap);
  const double tw = textWidth(cr, title, "Zendrel");
  const double tx = (W - tw) / 2 - 20;
  text(cr, "Zendrel", tx + 1.5, 92 + 2, title, hex(0x000000, 0.6), Align::kLeft);
  useFont(cr, title);
  cairo_move_to(cr, tx, 92 - cap.y_bearing / 2);
  cairo_text_path(cr, "Zendrel");
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 70, 0, 115);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.66, 0.94, 1.0);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.60, 0.92);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_fill(cr);
  text(cr, "1.0", tx + tw + 8, 78, Font{kSans, 18, true}, kCaption, Align::kLeft);
  text(cr, "RHYTHMIC STEP GATE", W / 2.0, 134, Font{kSansCondensed, 11, true}, kCaption, Align::kCentre, 3);
  // rule
  cairo_rectangle(cr, 60, 156, W - 120, 1);
  set(cr, hex(0x3fdcff, 0.35));
  cairo_fill(cr);
  // maker and credits
  makerLogo(cr, W / 2.0 - 62, 184, 10, kText);
  text(cr, "Brindlecove", W / 2.0 - 44, 184, Font{kSans, 17, false}, kText, Align::kLeft, 0.8);
  const Font small{kSans, 10, false};
  text(cr, "Design, code and artwork by the Brindlecove audio team", W / 2.0, 214, small, kCaption);
  text(cr, "Version 1.0  \u00b7  32 steps  \u00b7  stereo  \u00b7  tempo synchronised", W / 2.0, 230, small,
       kCaptionDim);
  text(cr, "VST is a trademark of its respective owner.", W / 2.0, 262, Font{kSans, 9, false}, kCaptionDim);
  text(cr, "click to close", W / 2.0, 282, Font{kSansCondensed, 8.5, true}, hex(0x3fdcff, 0.6), Align::kCentre,
       1.2);
}

void drawToggle(cairo_t* cr) {
  for (int f = 0; f < 2; ++f) {
    const double y = f * 27;
    const bool on = f == 1;
    roundedRect(cr, 2.5, y + 5.5, 35, 16, 8);
    if (on)
      verticalGradient(cr, y + 5, y + 22, hex(0x169cd6), hex(0x3fdcff));
    else
      verticalGradient(cr, y + 5, y + 22, hex(0x0e1013), hex(0x22262b));
    cairo_fill_preserve(cr);
    set(cr, hex(0x000000, 0.8));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    const double kx = on ? 29.5 : 10.5;
    cairo_arc(cr, kx, y + 14.5, 7.5, 0, 2 * M_PI);
    verticalGradient(cr, y + 7, y + 22, hex(0xe8edf2), hex(0x8f9aa5));
    cairo_fill_preserve(cr);
    set(cr, hex(0x1a1d21));
    cairo_stroke(cr);
  }
}

void drawInfoStrip(cairo_t* cr) {
  for (int f = 0; f < 2; ++f) infoButton(cr, 20, f * 40 + 20, 17.5, f == 1);
}

}  // namespace zendrel::artwork
