// The panel behind every control (BASE.PNG): body, rim, the recesses of the
// step columns, captions, and the name block with the information button.
// Layout numbers mirror where the editor places its controls.
#include <cmath>
#include <string>

#include "tools/artwork/artwork.h"
#include "tools/artwork/paint.h"

namespace zendrel::artwork {

namespace {

constexpr int kColumns = 16;
int columnX(int i) { return 55 + 50 * i; }
const Font kCaptionFont{kSansCondensed, 9, true};

// The body, its brushed texture and the rim.
void drawPanelBody(cairo_t* cr) {
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
}

// The recesses the controls sit in.
void drawLanes(cairo_t* cr) {
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
}

// Step numbers over the columns and the group separators.
void drawStepHeaders(cairo_t* cr) {
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
}

// Row captions and level ticks in the left margin.
void drawRowCaptions(cairo_t* cr) {
  // row captions in the left margin
  auto rowLabel = [&](const char* s, double cy) { text(cr, s, 29, cy, kCaptionFont, kCaption, Align::kCentre, 0.4); };
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
}

// Lower left: the caption of the step length indicator.
void drawStepLengthCaption(cairo_t* cr) {
  text(cr, "STEP LENGTH", 152, 463, kCaptionFont, kCaption, Align::kLeft, 0.4);
  cairo_move_to(cr, 152, 471.5);
  cairo_line_to(cr, 230, 471.5);
  set(cr, hex(0x3fdcff, 0.25));
  cairo_stroke(cr);
}

// Lower right: the product name, version, maker and the information button.
void drawNameBlock(cairo_t* cr) {
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
  extents(cr, "H", &cap);
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

}  // namespace

void drawBase(cairo_t* cr) {
  drawPanelBody(cr);
  drawLanes(cr);
  drawStepHeaders(cr);
  drawRowCaptions(cr);
  drawStepLengthCaption(cr);
  drawNameBlock(cr);
}

}  // namespace zendrel::artwork
