// Pieces several images share: the value boxes, the maker's and the product's
// marks, and the information button.
#include <algorithm>
#include <cmath>

#include "tools/artwork/artwork.h"

namespace zendrel::artwork {

void valueBox(cairo_t* cr, double y, const std::string& label) {
  roundedRect(cr, 0.5, y + 0.5, 39, 27, 4);
  verticalGradient(cr, y, y + 28, hex(0x2466ad), hex(0x123e70));
  cairo_fill_preserve(cr);
  set(cr, hex(0x0a1f38));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // inner highlight along the top
  roundedRect(cr, 1.5, y + 1.5, 37, 25, 3);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y + 1, 0, y + 27);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.55, 0.8, 1.0, 0.55);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 0.55, 0.8, 1.0, 0.0);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.3, 0.7, 1.0, 0.25);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // glass sheen on the upper half
  roundedRect(cr, 2, y + 2, 36, 11, 3);
  verticalGradient(cr, y + 2, y + 13, hex(0xffffff, 0.16), hex(0xffffff, 0.02));
  cairo_fill(cr);
  const Font f = fitted(cr, Font{kSans, 12, true}, label, 34);
  text(cr, label, 20 + 0.5, y + 14.5, f, hex(0x000000, 0.45));
  text(cr, label, 20, y + 14, f, kText);
}

void makerLogo(cairo_t* cr, double cx, double cy, double r, const Colour& c) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  set(cr, c);
  // The floors keep a small mark's lines from fading out; they are device
  // pixels, so denser sets keep the proportions of a mark of any size.
  const double px = 1 / density(cr);
  cairo_set_line_width(cr, std::max(1.2 * px, r * 0.17));
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_stroke(cr);
  cairo_set_line_width(cr, std::max(1.1 * px, r * 0.15));
  for (int k = 0; k < 2; ++k) {
    const double y = cy - r * 0.12 + k * r * 0.42, half = r * (k == 0 ? 0.6 : 0.5), amp = r * 0.16;
    cairo_move_to(cr, cx - half, y);
    cairo_curve_to(cr, cx - half * 0.5, y - amp * 2, cx - half * 0.2, y - amp * 2, cx, y);
    cairo_curve_to(cr, cx + half * 0.2, y + amp * 2, cx + half * 0.5, y + amp * 2, cx + half, y);
    cairo_stroke(cr);
  }
  // the sun over the cove
  cairo_arc(cr, cx + r * 0.28, cy - r * 0.5, r * 0.15, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_restore(cr);
}

void gateMotif(cairo_t* cr, double x, double y, double w, double h, const Colour& c, double lineWidth) {
  static const double levels[] = {1.0, 0.35, 0.7, 0.2, 0.95, 0.55, 0.8, 0.3};
  const int n = sizeof levels / sizeof levels[0];
  const double step = w / n;
  cairo_move_to(cr, x, y + h);
  for (int i = 0; i < n; ++i) {
    const double x0 = x + i * step, top = y + h * (1 - levels[i]);
    cairo_line_to(cr, x0 + step * 0.12, top);
    cairo_line_to(cr, x0 + step * 0.62, top);
    cairo_line_to(cr, x0 + step * 0.86, y + h);
    cairo_line_to(cr, x0 + step, y + h);
  }
  cairo_close_path(cr);
  cairo_path_t* outline = cairo_copy_path(cr);
  verticalGradient(cr, y, y + h, Colour{c.r, c.g, c.b, c.a * 0.35}, Colour{c.r, c.g, c.b, 0});
  cairo_fill(cr);
  cairo_append_path(cr, outline);
  cairo_path_destroy(outline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, lineWidth);
  set(cr, c);
  cairo_stroke(cr);
}

void infoButton(cairo_t* cr, double cx, double cy, double r, bool lit) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.4, r * 0.1, cx, cy, r);
  if (lit) {
    cairo_pattern_add_color_stop_rgb(p, 0, 0.45, 0.9, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.55, 0.85);
  } else {
    cairo_pattern_add_color_stop_rgb(p, 0, 0.22, 0.25, 0.29);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.11, 0.13);
  }
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.6);
  set(cr, lit ? hex(0xb8f2ff) : kCyanDeep);
  cairo_stroke(cr);
  cairo_arc(cr, cx, cy, r - 2.2, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1);
  set(cr, hex(0x000000, lit ? 0.2 : 0.5));
  cairo_stroke(cr);
  const Colour ink = lit ? hex(0x06243a) : kCyan;
  const double s = r / 17.0;
  cairo_arc(cr, cx, cy - 7.5 * s, 2.3 * s, 0, 2 * M_PI);
  set(cr, ink);
  cairo_fill(cr);
  roundedRect(cr, cx - 2.1 * s, cy - 3.2 * s, 4.2 * s, 13 * s, 1.2 * s);
  cairo_fill(cr);
  cairo_rectangle(cr, cx - 4.2 * s, cy + 8 * s, 8.4 * s, 1.8 * s);
  cairo_rectangle(cr, cx - 4.2 * s, cy - 3.2 * s, 4 * s, 1.8 * s);
  cairo_fill(cr);
}

}  // namespace zendrel::artwork
