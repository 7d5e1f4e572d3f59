#include "tools/artwork/paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zendrel::artwork {

Surface::Surface(int w, int h, int density)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * density, h * density)),
      cr(cairo_create(surface)) {
  // No scale at all at 1x keeps those images byte for byte as they were drawn before denser sets existed.
  if (density != 1) cairo_scale(cr, density, density);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

Surface::~Surface() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

bool save(Surface& s, const std::string& dir, const char* name) {
  cairo_surface_flush(s.surface);
  if (cairo_status(s.cr) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "artwork: drawing %s failed: %s\n", name, cairo_status_to_string(cairo_status(s.cr)));
    return false;
  }
  const std::string path = dir + "/" + name;
  if (cairo_surface_write_to_png(s.surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "artwork: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

double density(cairo_t* cr) {
  double dx = 1, dy = 0;
  cairo_user_to_device_distance(cr, &dx, &dy);
  return std::hypot(dx, dy);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void verticalGradient(cairo_t* cr, double y0, double y1, const Colour& top, const Colour& bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void glow(cairo_t* cr, void (*path)(cairo_t*, const void*), const void* arg, const Colour& c, double radius) {
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (int i = 6; i >= 1; --i) {
    path(cr, arg);
    set(cr, Colour{c.r, c.g, c.b, c.a * 0.07});
    cairo_set_line_width(cr, radius * 2 * i / 6.0);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void useFont(cairo_t* cr, const Font& f) {
  cairo_select_font_face(cr, f.family, CAIRO_FONT_SLANT_NORMAL,
                         f.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, f.size);
}

void extents(cairo_t* cr, const char* s, cairo_text_extents_t* e) {
  // Metrics of the font as hinted for 1x, whatever the density: every set gets
  // the same text sizes, widths and baselines, so the same layout.
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_text_extents(cr, s, e);
  cairo_restore(cr);
}

void moveToGlyphOrigin(cairo_t* cr, double x, double y) {
  // At 1x the rasteriser puts each glyph's origin on the nearest whole pixel;
  // denser sets put it on the same whole logical pixel, so letters and their
  // shadows sit exactly where they sit at 1x.
  const double d = density(cr);
  if (d != 1) {
    cairo_user_to_device(cr, &x, &y);
    x = std::floor(x / d + 0.5) * d;
    y = std::floor(y / d + 0.5) * d;
    cairo_device_to_user(cr, &x, &y);
  }
  cairo_move_to(cr, x, y);
}

double textWidth(cairo_t* cr, const Font& f, const std::string& s) {
  useFont(cr, f);
  cairo_text_extents_t e;
  extents(cr, s.c_str(), &e);
  return e.x_advance;
}

std::vector<std::string> characters(const std::string& s) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xc0) == 0x80) ++n;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

void text(cairo_t* cr, const std::string& s, double x, double cy, const Font& f, const Colour& c,
          Align align, double tracking) {
  useFont(cr, f);
  cairo_text_extents_t cap;
  extents(cr, "H", &cap);
  const std::vector<std::string> chars = characters(s);
  double width = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    cairo_text_extents_t e;
    extents(cr, chars[i].c_str(), &e);
    width += e.x_advance + (i + 1 < chars.size() ? tracking : 0);
  }
  double left = align == Align::kLeft ? x : align == Align::kCentre ? x - width / 2 : x - width;
  const double baseline = cy - cap.y_bearing / 2;
  set(cr, c);
  for (const std::string& ch : chars) {
    cairo_text_extents_t e;
    extents(cr, ch.c_str(), &e);
    moveToGlyphOrigin(cr, left, baseline);
    cairo_show_text(cr, ch.c_str());
    left += e.x_advance + tracking;
  }
  cairo_new_path(cr);  // show_text leaves a current point; the next arc must not join it
}

Font fitted(cairo_t* cr, Font f, const std::string& s, double maxWidth) {
  while (f.size > 6 && textWidth(cr, f, s) > maxWidth) f.size -= 0.25;
  return f;
}

}  // namespace zendrel::artwork
