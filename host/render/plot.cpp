#include "host/render/plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zendrel::render {

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 600;
constexpr double kLeft = 80, kRight = 30, kTop = 86, kBottom = 64;

struct Rgb {
  double r, g, b;
};
constexpr Rgb kInputColour{0.62, 0.66, 0.72};
constexpr Rgb kOutputColour{0.90, 0.42, 0.10};
constexpr Rgb kInk{0.15, 0.15, 0.18};
constexpr Rgb kGainColour{0.10, 0.22, 0.55};

void setColour(cairo_t* cr, Rgb c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void text(cairo_t* cr, double x, double y, const std::string& s, double size, double alignX,
          bool bold = false) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  cairo_move_to(cr, x - alignX * e.x_advance, y);
  cairo_show_text(cr, s.c_str());
}

// Peak of the samples that fall into each pixel column.
std::vector<double> columns(const std::vector<float>& v, int width) {
  std::vector<double> out(static_cast<size_t>(width), 0.0);
  if (v.empty()) return out;
  for (size_t i = 0; i < v.size(); ++i) {
    const size_t c = std::min(static_cast<size_t>(width - 1), i * static_cast<size_t>(width) / v.size());
    out[c] = std::max(out[c], static_cast<double>(v[i]));
  }
  return out;
}

void area(cairo_t* cr, const std::vector<double>& col, double x0, double y0, double yScale, Rgb colour,
          double fillAlpha) {
  cairo_move_to(cr, x0, y0);
  for (size_t c = 0; c < col.size(); ++c) cairo_line_to(cr, x0 + c + 0.5, y0 - col[c] * yScale);
  cairo_line_to(cr, x0 + col.size(), y0);
  cairo_close_path(cr);
  setColour(cr, colour, fillAlpha);
  cairo_fill(cr);
  for (size_t c = 0; c < col.size(); ++c) {
    if (c == 0)
      cairo_move_to(cr, x0 + 0.5, y0 - col[c] * yScale);
    else
      cairo_line_to(cr, x0 + c + 0.5, y0 - col[c] * yScale);
  }
  setColour(cr, colour);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

double niceTick(double span) {
  const double raw = span / 8.0;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * p) return m * p;
  return 10.0 * p;
}

std::string format(const char* f, double v) {
  char b[64];
  std::snprintf(b, sizeof b, f, v);
  return b;
}

// Mean of the non-negative samples in each pixel column; -1 where there are none.
std::vector<double> columnMeans(const std::vector<float>& v, int width) {
  std::vector<double> sum(static_cast<size_t>(width), 0.0), n(static_cast<size_t>(width), 0.0);
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] < 0) continue;
    const size_t c = std::min(static_cast<size_t>(width - 1), i * static_cast<size_t>(width) / v.size());
    sum[c] += v[i];
    n[c] += 1;
  }
  for (size_t c = 0; c < sum.size(); ++c) sum[c] = n[c] > 0 ? sum[c] / n[c] : -1.0;
  return sum;
}

// Where the plot area lies and how values map onto it.
struct Axes {
  double plotW, plotH, x0, yBase;
  double samples;  // along x
  double yMax, yScale, xPerSample;

  explicit Axes(const PlotData& d) {
    plotW = kWidth - kLeft - kRight;
    plotH = kHeight - kTop - kBottom;
    x0 = kLeft;
    yBase = kTop + plotH;
    samples = static_cast<double>(std::max(d.input.size(), d.output.size()));
    double peak = 1.0;
    for (float v : d.input) peak = std::max(peak, static_cast<double>(v));
    for (float v : d.output) peak = std::max(peak, static_cast<double>(v));
    yMax = std::ceil(peak * 4.0) / 4.0;
    yScale = plotH / yMax;
    xPerSample = samples > 0 ? plotW / samples : 0.0;
  }
};

// Steps: alternate shading, boundaries and numbers.
void drawSteps(cairo_t* cr, const PlotData& d, const Axes& ax) {
  const int steps = std::max(1, d.steps);
  const double stepW = d.samplesPerStep * ax.xPerSample;
  const int labelEvery = stepW >= 22 ? 1 : stepW >= 11 ? 2 : 4;
  for (int k = 0; k < steps; ++k) {
    const double xa = ax.x0 + k * stepW;
    if (k % 2 == 1) {
      cairo_rectangle(cr, xa, kTop, stepW, ax.plotH);
      cairo_set_source_rgb(cr, 0.955, 0.96, 0.975);
      cairo_fill(cr);
    }
  }
  cairo_set_line_width(cr, 1.0);
  for (int k = 0; k <= steps; ++k) {
    const double xa = std::round(ax.x0 + k * stepW) + 0.5;
    cairo_move_to(cr, xa, kTop);
    cairo_line_to(cr, xa, ax.yBase);
    cairo_set_source_rgb(cr, 0.72, 0.74, 0.80);
    cairo_stroke(cr);
    if (k < steps && k % labelEvery == 0) {
      setColour(cr, kInk);
      text(cr, ax.x0 + (k + 0.5) * stepW, kTop - 8, std::to_string(k + 1), 12, 0.5);
    }
  }
  setColour(cr, kInk);
  text(cr, ax.x0 - 8, kTop - 8, "step", 12, 1.0);
}

// Level grid lines and labels.
void drawLevels(cairo_t* cr, const Axes& ax) {
  for (double y = 0; y <= ax.yMax + 1e-9; y += 0.25) {
    const double py = std::round(ax.yBase - y * ax.yScale) + 0.5;
    cairo_move_to(cr, ax.x0, py);
    cairo_line_to(cr, ax.x0 + ax.plotW, py);
    cairo_set_source_rgba(cr, 0.3, 0.3, 0.35, y == 0 ? 0.8 : 0.15);
    cairo_stroke(cr);
    setColour(cr, kInk);
    text(cr, ax.x0 - 8, py + 4, format("%.2f", y), 12, 1.0);
  }
}

// The two envelopes and the gain line over them.
void drawCurves(cairo_t* cr, const PlotData& d, const Axes& ax) {
  const int width = static_cast<int>(ax.plotW);
  area(cr, columns(d.input, width), ax.x0, ax.yBase, ax.yScale, kInputColour, 0.45);
  area(cr, columns(d.output, width), ax.x0, ax.yBase, ax.yScale, kOutputColour, 0.35);
  if (d.gain.empty()) return;
  const std::vector<double> g = columnMeans(d.gain, width);
  bool drawing = false;
  for (size_t c = 0; c < g.size(); ++c) {
    if (g[c] < 0) {  // silent input: no gain to show
      drawing = false;
      continue;
    }
    const double py = ax.yBase - std::min(g[c], ax.yMax) * ax.yScale;
    if (!drawing)
      cairo_move_to(cr, ax.x0 + c + 0.5, py);
    else
      cairo_line_to(cr, ax.x0 + c + 0.5, py);
    drawing = true;
  }
  setColour(cr, kGainColour);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
}

// Time axis in seconds from the start of the cycle, the axis titles and the frame.
void drawAxes(cairo_t* cr, const PlotData& d, const Axes& ax) {
  const double seconds = ax.samples / d.sampleRate;
  const double tick = niceTick(seconds);
  for (double t = 0; t <= seconds + 1e-9; t += tick) {
    const double px = std::round(ax.x0 + t * d.sampleRate * ax.xPerSample) + 0.5;
    cairo_move_to(cr, px, ax.yBase);
    cairo_line_to(cr, px, ax.yBase + 6);
    setColour(cr, kInk);
    cairo_stroke(cr);
    text(cr, px, ax.yBase + 22, format(tick < 0.1 ? "%.3f" : "%.2f", t), 12, 0.5);
  }
  text(cr, ax.x0 + ax.plotW / 2, kHeight - 14, "time from the start of the pattern cycle (s)", 13, 0.5);
  cairo_save(cr);
  cairo_translate(cr, 22, kTop + ax.plotH / 2);
  cairo_rotate(cr, -M_PI / 2);
  text(cr, 0, 0, "peak level", 13, 0.5);
  cairo_restore(cr);
  cairo_rectangle(cr, ax.x0 + 0.5, kTop + 0.5, ax.plotW - 1, ax.plotH - 1);
  cairo_set_source_rgb(cr, 0.45, 0.46, 0.5);
  cairo_stroke(cr);
}

// Title and legend.
void drawTitle(cairo_t* cr, const PlotData& d, const Axes& ax) {
  const int steps = std::max(1, d.steps);
  setColour(cr, kInk);
  text(cr, ax.x0, 30,
       "Zendrel: " + format("%g", d.tempo) + " BPM, " + std::to_string(steps) + " steps of " +
           d.stepLengthName + " (" + format("%g", d.samplesPerStep) + " samples each), one pattern cycle",
       17, 0.0, true);
  text(cr, ax.x0, 52,
       format("%g Hz, transport ", d.sampleRate) + (d.playing ? "playing" : "stopped (free-running)") +
           "; envelopes: peak of both channels over 5 ms",
       12, 0.0);
  const double lx = ax.x0 + ax.plotW - 330, ly = 26;
  cairo_rectangle(cr, lx, ly, 16, 12);
  setColour(cr, kInputColour, 0.7);
  cairo_fill(cr);
  setColour(cr, kInk);
  text(cr, lx + 22, ly + 11, "input", 13, 0.0);
  cairo_rectangle(cr, lx + 90, ly, 16, 12);
  setColour(cr, kOutputColour, 0.8);
  cairo_fill(cr);
  setColour(cr, kInk);
  text(cr, lx + 112, ly + 11, "output", 13, 0.0);
  cairo_move_to(cr, lx + 190, ly + 6);
  cairo_line_to(cr, lx + 206, ly + 6);
  setColour(cr, kGainColour);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  setColour(cr, kInk);
  text(cr, lx + 212, ly + 11, "gain (out / in)", 13, 0.0);
}

// Writes the picture and frees its surface.
bool writeAndFree(cairo_surface_t* surface, const std::string& path, std::string& error) {
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    error = "cannot write '" + path + "': " + cairo_status_to_string(status) + " (does its folder exist?)";
    return false;
  }
  return true;
}

}  // namespace

std::vector<float> peakEnvelope(const std::vector<float>& m, size_t halfWindow) {
  std::vector<float> out(m.size(), 0.0f);
  for (size_t i = 0; i < m.size(); ++i) {
    const size_t a = i > halfWindow ? i - halfWindow : 0;
    const size_t b = std::min(m.size(), i + halfWindow + 1);
    out[i] = *std::max_element(m.begin() + static_cast<long>(a), m.begin() + static_cast<long>(b));
  }
  return out;
}

bool writePlot(const PlotData& d, const std::string& path, std::string& error) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  const Axes ax(d);
  drawSteps(cr, d, ax);
  drawLevels(cr, ax);
  drawCurves(cr, d, ax);
  drawAxes(cr, d, ax);
  drawTitle(cr, d, ax);
  cairo_destroy(cr);
  return writeAndFree(surface, path, error);
}

namespace {

constexpr int kTileW = 690, kTileH = 112, kGalleryTop = 64, kGalleryMargin = 10;

void drawTile(cairo_t* cr, const GalleryEntry& e, double x, double y) {
  const double plotX = x + 8, plotY = y + 30, plotW = kTileW - 16, plotH = kTileH - 40;
  setColour(cr, kInk);
  text(cr, x + 8, y + 20, e.name, 15, 0.0, true);
  text(cr, x + kTileW - 8, y + 20, std::to_string(e.steps) + " steps of " + e.stepLengthName, 12, 1.0);
  const int steps = std::max(1, e.steps);
  const double stepW = plotW / steps;
  for (int k = 1; k < steps; k += 2) {
    cairo_rectangle(cr, plotX + k * stepW, plotY, stepW, plotH);
    cairo_set_source_rgb(cr, 0.94, 0.945, 0.965);
    cairo_fill(cr);
  }
  area(cr, columns(e.gain, static_cast<int>(plotW)), plotX, plotY + plotH, plotH, kOutputColour, 0.35);
  cairo_rectangle(cr, plotX + 0.5, plotY + 0.5, plotW - 1, plotH - 1);
  cairo_set_source_rgb(cr, 0.6, 0.62, 0.66);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);
}

}  // namespace

bool writeGallery(const std::vector<GalleryEntry>& entries, const std::string& title, const std::string& path,
                  std::string& error) {
  const int rows = static_cast<int>((entries.size() + 1) / 2);
  const int width = 2 * kTileW + 3 * kGalleryMargin;
  const int height = kGalleryTop + rows * (kTileH + kGalleryMargin) + kGalleryMargin;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  setColour(cr, kInk);
  text(cr, kGalleryMargin + 8, 30, title, 19, 0.0, true);
  text(cr, kGalleryMargin + 8, 50, "gain over one pattern cycle of a steady input, steps shaded alternately", 12, 0.0);
  for (size_t i = 0; i < entries.size(); ++i) {
    const double x = kGalleryMargin + static_cast<double>(i % 2) * (kTileW + kGalleryMargin);
    const double y = kGalleryTop + static_cast<double>(i / 2) * (kTileH + kGalleryMargin);
    drawTile(cr, entries[i], x, y);
  }
  cairo_destroy(cr);
  return writeAndFree(surface, path, error);
}

}  // namespace zendrel::render
