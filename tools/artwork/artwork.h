// The artwork's images, one drawing function each, and the pieces several of
// them share. Each function draws into a surface of the image's own size.
#pragma once

#include <cairo.h>

#include <string>

#include "tools/artwork/paint.h"

namespace zendrel::artwork {

// Shared pieces.
// A value box of the indicator strips: blue face, lighter top edge, white text.
void valueBox(cairo_t* cr, double y, const std::string& label);
// The maker's mark: a ring around two waves rolling into a cove.
void makerLogo(cairo_t* cr, double cx, double cy, double r, const Colour& c);
// The product's mark: a row of gate levels with ramps, as the audio sees them.
void gateMotif(cairo_t* cr, double x, double y, double w, double h, const Colour& c, double lineWidth);
// Round information button: a ring and an "i", lit or not.
void infoButton(cairo_t* cr, double cx, double cy, double r, bool lit);

// The note values of NOTELENGTHINDICATOR.PNG, one frame each.
extern const char* const kNoteValues[13];

// The images.
void drawBase(cairo_t* cr);
void drawSlot(cairo_t* cr, int w, int h, int ticks);
void drawHandle(cairo_t* cr, int w, int h);
void drawStepStrip(cairo_t* cr);
void drawStepSmallStrip(cairo_t* cr);
void drawCurrentPage(cairo_t* cr);
void drawMerge(cairo_t* cr);
void drawPlusMinus(cairo_t* cr, bool plus);
void drawSplash(cairo_t* cr);
void drawToggle(cairo_t* cr);
void drawInfoStrip(cairo_t* cr);

}  // namespace zendrel::artwork
