// Draws the editor's sixteen images into a directory:  zendrel_artwork <out-dir>
// Everything is vector drawing and DejaVu text, so the art can be changed here
// and regenerated instead of edited by hand. Layout numbers mirror where the
// editor places its controls, so the panel's captions and grooves line up.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// ---- palette --------------------------------------------------------------

struct Colour {
  double r, g, b, a = 1.0;
};

Colour hex(unsigned v, double a = 1.0) {
  return Colour{((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0, a};
}

const Colour kPanelTop = hex(0x2e3339);
const Colour kPanelBottom = hex(0x1f2226);
const Colour kRimLight = hex(0x6a737d);
const Colour kRimDark = hex(0x0e1012);
const Colour kLane = hex(0x181b1f);
const Colour kCaption = hex(0x8c99a6);
const Colour kCaptionDim = hex(0x5d6873);
const Colour kText = hex(0xe6eef5);
const Colour kCyan = hex(0x3fdcff);
const Colour kCyanDeep = hex(0x12a8e0);
const Colour kSlot = hex(0x0c0e10);

const char* const kSans = "DejaVu Sans";
const char* const kSansCondensed = "DejaVu Sans Condensed";

void set(cairo_t* cr, const Colour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

// ---- drawing helpers ------------------------------------------------------

struct Surface {
  cairo_surface_t* surface;
  cairo_t* cr;
  Surface(int w, int h)
      : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h)), cr(cairo_create(surface)) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
  }
  ~Surface() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
};

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

// A soft halo around a shape: the path is stroked several times, wide and faint.
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

enum class Align { kLeft, kCentre, kRight };

struct Font {
  const char* family = kSans;
  double size = 11;
  bool bold = true;
};

void useFont(cairo_t* cr, const Font& f) {
  cairo_select_font_face(cr, f.family, CAIRO_FONT_SLANT_NORMAL,
                         f.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, f.size);
}

double textWidth(cairo_t* cr, const Font& f, const std::string& s) {
  useFont(cr, f);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  return e.x_advance;
}

// Splits UTF-8 text into its characters (tracking places them one by one).
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

// Text whose capitals are vertically centred on cy (the same baseline for
// every frame of a strip, whatever characters it holds).
void text(cairo_t* cr, const std::string& s, double x, double cy, const Font& f, const Colour& c,
          Align align = Align::kCentre, double tracking = 0) {
  useFont(cr, f);
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  const std::vector<std::string> chars = characters(s);
  double width = 0;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, chars[i].c_str(), &e);
    width += e.x_advance + (i + 1 < chars.size() ? tracking : 0);
  }
  double left = align == Align::kLeft ? x : align == Align::kCentre ? x - width / 2 : x - width;
  const double baseline = cy - cap.y_bearing / 2;
  set(cr, c);
  for (const std::string& ch : chars) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, ch.c_str(), &e);
    cairo_move_to(cr, left, baseline);
    cairo_show_text(cr, ch.c_str());
    left += e.x_advance + tracking;
  }
  cairo_new_path(cr);  // show_text leaves a current point; the next arc must not join it
}

// The largest size up to `size` at which s fits in maxWidth.
Font fitted(cairo_t* cr, Font f, const std::string& s, double maxWidth) {
  while (f.size > 6 && textWidth(cr, f, s) > maxWidth) f.size -= 0.25;
  return f;
}

// ---- shared pieces --------------------------------------------------------

// A value box of the indicator strips: blue face, lighter top edge, white text.
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

// The maker's mark: a ring around two waves rolling into a cove.
void makerLogo(cairo_t* cr, double cx, double cy, double r, const Colour& c) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  set(cr, c);
  cairo_set_line_width(cr, std::max(1.2, r * 0.17));
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_stroke(cr);
  cairo_set_line_width(cr, std::max(1.1, r * 0.15));
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

// The product's mark: a row of gate levels with ramps, as the audio sees them.
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

// Round information button: a ring and an "i", lit or not.
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

// ---- the panel ------------------------------------------------------------

constexpr int kColumns = 16;
int columnX(int i) { return 55 + 50 * i; }

void drawBase(cairo_t* cr) {
  const int W = 900, H = 550;
  // body
  cairo_rectangle(cr, 0, 0, W, H);
  verticalGradient(cr, 0, H, kPanelTop, kPanelBottom);
  cairo_fill(cr);
  // a faint brushed texture: thin horizontal lines of varying strength
  unsigned seed = 12345;
  for (int y = 0; y < H; ++y) {
    seed = seed * 1103515245u + 12345u;
    const double a = ((seed >> 16) & 0xff) / 255.0 * 0.035;
    cairo_rectangle(cr, 0, y, W, 1);
    set(cr, (y & 1) ? hex(0xffffff, a) : hex(0x000000, a));
    cairo_fill(cr);
  }
  // rim: dark outer line, light bevel, then a darker inner groove
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, W - 1, H - 1);
  set(cr, kRimDark);
  cairo_stroke(cr);
  cairo_rectangle(cr, 1.5, 1.5, W - 3, H - 3);
  set(cr, kRimLight);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 2);
  cairo_rectangle(cr, 3, 3, W - 6, H - 6);
  set(cr, hex(0x4b525a));
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 4.5, 4.5, W - 9, H - 9);
  set(cr, hex(0x15171a));
  cairo_stroke(cr);
  // top light, bottom shade of the rim
  cairo_rectangle(cr, 5, 5, W - 10, 1);
  set(cr, hex(0xffffff, 0.05));
  cairo_fill(cr);

  // recessed lanes behind each step column (merge button to note buttons)
  for (int i = 0; i < kColumns; ++i) {
    const double x = columnX(i);
    roundedRect(cr, x - 3, 23, 46, 378, 5);
    verticalGradient(cr, 23, 401, hex(0x15181c, 0.85), Colour{kLane.r, kLane.g, kLane.b, 0.85});
    cairo_fill_preserve(cr);
    set(cr, hex(0x000000, 0.35));
    cairo_stroke(cr);
  }
  // one recess behind the three step indicators and, joined to it, the step
  // count, step length and page controls: outlined as one shape
  auto recessPath = [cr] {
    roundedRect(cr, 52, 398, 796, 53, 5);
    roundedRect(cr, 52, 440, 96, 87, 5);
  };
  recessPath();
  cairo_set_line_width(cr, 2);
  set(cr, hex(0x000000, 0.45));
  cairo_stroke(cr);
  recessPath();
  set(cr, hex(0x131518));
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, 55, 527.5);
  cairo_line_to(cr, 145, 527.5);
  set(cr, hex(0xffffff, 0.06));
  cairo_stroke(cr);
  cairo_move_to(cr, 150, 451.5);
  cairo_line_to(cr, 845, 451.5);
  set(cr, hex(0xffffff, 0.06));
  cairo_stroke(cr);

  // step numbers above the columns: the column shows step n on page A and
  // step n + 16 on page B, so both are written, A's brighter
  auto header = [&](double cx, const std::string& a, const std::string& b, const Colour& ca) {
    text(cr, a, cx - 3, 13.5, Font{kSans, 10, true}, ca, Align::kRight);
    cairo_rectangle(cr, cx - 0.5, 8, 1, 11);
    set(cr, hex(0x4a545e));
    cairo_fill(cr);
    text(cr, b, cx + 3, 13.5, Font{kSansCondensed, 8.5, true}, kCaptionDim, Align::kLeft);
  };
  header(29, "A", "B", kCaption);
  for (int i = 0; i < kColumns; ++i)
    header(columnX(i) + 20, std::to_string(i + 1), std::to_string(i + 17), i % 4 == 0 ? kText : kCaption);

  // dotted group separators
  for (int x : {250, 450, 650}) {
    for (int y = 48; y <= 418; y += 4) {
      cairo_rectangle(cr, x, y, 1, 2);
      set(cr, hex(0x6f7b87, 0.8));
      cairo_fill(cr);
    }
  }

  // row captions in the left margin
  const Font caption{kSansCondensed, 9, true};
  auto rowLabel = [&](const char* s, double cy) { text(cr, s, 29, cy, caption, kCaption, Align::kCentre, 0.4); };
  rowLabel("MERGE", 36);
  rowLabel("GATE", 150);
  rowLabel("A / D", 302.5);
  rowLabel("NOTE", 369);
  rowLabel("\u2013 / +", 392);
  rowLabel("STEP", 413);
  rowLabel("1\u201332", 437);
  rowLabel("STEPS", 463);
  rowLabel("\u2013 / +", 486);
  rowLabel("PAGE", 509);

  // level ticks beside the gate and the attack/decay rows (between margin and first column)
  cairo_set_line_width(cr, 1);
  for (int k = 0; k <= 4; ++k) {
    const double y = std::round(64 + (250 - 14 - 64) * k / 4.0) + 0.5;
    cairo_move_to(cr, k % 2 ? 47 : 45, y);
    cairo_line_to(cr, 51, y);
    set(cr, kCaptionDim);
    cairo_stroke(cr);
  }
  for (int k = 0; k <= 2; ++k) {
    const double y = std::round(269 + (350 - 14 - 269) * k / 2.0) + 0.5;
    cairo_move_to(cr, 46, y);
    cairo_line_to(cr, 51, y);
    set(cr, kCaptionDim);
    cairo_stroke(cr);
  }

  // lower left: caption of the step length indicator and the frames of the small controls
  text(cr, "STEP LENGTH", 152, 463, caption, kCaption, Align::kLeft, 0.4);
  cairo_move_to(cr, 152, 471.5);
  cairo_line_to(cr, 230, 471.5);
  set(cr, hex(0x3fdcff, 0.25));
  cairo_stroke(cr);

  // lower right: product name, version, maker and the information button
  const double nameRight = 790;
  const Font nameFont{kSans, 27, true};
  const double nameWidth = textWidth(cr, nameFont, "Zendrel");
  const double versionWidth = textWidth(cr, Font{kSans, 11, true}, "1.0");
  const double nameLeft = nameRight - versionWidth - 5 - nameWidth;
  // soft glow behind the name
  text(cr, "Zendrel", nameLeft + 1, 482 + 1.2, nameFont, hex(0x000000, 0.6), Align::kLeft);
  useFont(cr, nameFont);
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  cairo_move_to(cr, nameLeft, 482 - cap.y_bearing / 2);
  cairo_text_path(cr, "Zendrel");
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 468, 0, 496);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.62, 0.93, 1.0);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.10, 0.62, 0.92);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  cairo_fill(cr);
  text(cr, "1.0", nameRight, 474, Font{kSans, 11, true}, kCaption, Align::kRight);
  text(cr, "RHYTHMIC STEP GATE", nameRight, 503, Font{kSansCondensed, 8.5, true}, kCaptionDim, Align::kRight, 1.3);
  gateMotif(cr, nameLeft - 118, 470, 100, 22, hex(0x3fdcff, 0.55), 1.4);
  // maker
  const Font makerFont{kSans, 11, false};
  text(cr, "Brindlecove", nameRight, 528, makerFont, kCaption, Align::kRight, 0.6);
  const double makerWidth = textWidth(cr, makerFont, "Brindlecove") + 0.6 * 10;
  makerLogo(cr, nameRight - makerWidth - 12, 528, 7.5, kCaption);
  // separator between name block and button
  cairo_move_to(cr, 804.5, 462);
  cairo_line_to(cr, 804.5, 538);
  set(cr, hex(0x000000, 0.35));
  cairo_stroke(cr);
  cairo_move_to(cr, 805.5, 462);
  cairo_line_to(cr, 805.5, 538);
  set(cr, hex(0xffffff, 0.05));
  cairo_stroke(cr);
  // the information button fills the trigger area (816, 476)-(856, 512)
  cairo_arc(cr, 836, 494, 19, 0, 2 * M_PI);
  set(cr, hex(0x000000, 0.35));
  cairo_fill(cr);
  infoButton(cr, 836, 494, 17.5, false);
  text(cr, "ABOUT", 836, 524, Font{kSansCondensed, 7.5, true}, kCaptionDim, Align::kCentre, 0.8);
}

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

void lightBar(cairo_t* cr, double x, double y, double w, double h, bool lit) {
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
void smallBarX(int k, double& x, double& w) {
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

void arrowPath(cairo_t* cr, const void*) {
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
  cairo_text_extents(cr, "H", &cap);
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
