// The drawing primitives every image of the artwork uses: the palette, an
// image surface that can be saved, rounded rectangles, gradients, glows and
// text placed by the height of its capitals.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace zendrel::artwork {

struct Colour {
  double r, g, b, a = 1.0;
};

inline Colour hex(unsigned v, double a = 1.0) {
  return Colour{((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0, a};
}

inline const Colour kPanelTop = hex(0x2e3339);
inline const Colour kPanelBottom = hex(0x1f2226);
inline const Colour kRimLight = hex(0x6a737d);
inline const Colour kRimDark = hex(0x0e1012);
inline const Colour kLane = hex(0x181b1f);
inline const Colour kCaption = hex(0x8c99a6);
inline const Colour kCaptionDim = hex(0x5d6873);
inline const Colour kText = hex(0xe6eef5);
inline const Colour kCyan = hex(0x3fdcff);
inline const Colour kCyanDeep = hex(0x12a8e0);
inline const Colour kSlot = hex(0x0c0e10);

inline const char* const kSans = "DejaVu Sans";
inline const char* const kSansCondensed = "DejaVu Sans Condensed";

inline void set(cairo_t* cr, const Colour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

// An image of w × h logical pixels drawn at `density` device pixels per
// logical pixel (1, 2 or 3): the drawing code works in logical pixels.
struct Surface {
  cairo_surface_t* surface;
  cairo_t* cr;
  Surface(int w, int h, int density = 1);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
};

// Writes the surface as dir/name; false (with a message) when drawing or writing failed.
bool save(Surface& s, const std::string& dir, const char* name);

// Device pixels per logical pixel of the surface cr draws on.
double density(cairo_t* cr);

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void verticalGradient(cairo_t* cr, double y0, double y1, const Colour& top, const Colour& bottom);
// A soft halo around a shape: the path is stroked several times, wide and faint.
void glow(cairo_t* cr, void (*path)(cairo_t*, const void*), const void* arg, const Colour& c, double radius);

enum class Align { kLeft, kCentre, kRight };

struct Font {
  const char* family = kSans;
  double size = 11;
  bool bold = true;
};

void useFont(cairo_t* cr, const Font& f);
// Text extents as at 1x (the same at every density).
void extents(cairo_t* cr, const char* s, cairo_text_extents_t* e);
double textWidth(cairo_t* cr, const Font& f, const std::string& s);
// Splits UTF-8 text into its characters (tracking places them one by one).
std::vector<std::string> characters(const std::string& s);
// Text whose capitals are vertically centred on cy (the same baseline for
// every frame of a strip, whatever characters it holds).
void text(cairo_t* cr, const std::string& s, double x, double cy, const Font& f, const Colour& c,
          Align align = Align::kCentre, double tracking = 0);
// The largest size up to `size` at which s fits in maxWidth.
Font fitted(cairo_t* cr, Font f, const std::string& s, double maxWidth);

}  // namespace zendrel::artwork
