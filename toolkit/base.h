// Records, flags and the reference-counted base shared by every toolkit object.
#pragma once

#include <cstdint>

namespace Toolkit {

// A point in integer pixels: h grows to the right, v grows downwards.
struct CPoint {
  int32_t h = 0;
  int32_t v = 0;

  constexpr CPoint() = default;
  constexpr CPoint(int32_t h_, int32_t v_) : h(h_), v(v_) {}

  constexpr CPoint& offset(int32_t dh, int32_t dv) {
    h += dh;
    v += dv;
    return *this;
  }
  constexpr bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
  constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
};

// A rectangle in integer pixels; right and bottom lie one past the last pixel
// when the rectangle is filled, so width = right - left.
struct CRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr CRect() = default;
  constexpr CRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
  constexpr CRect(const CPoint& topLeft, const CPoint& size)
      : left(topLeft.h), top(topLeft.v), right(topLeft.h + size.h), bottom(topLeft.v + size.v) {}

  constexpr int32_t getWidth() const { return right - left; }
  constexpr int32_t getHeight() const { return bottom - top; }
  constexpr int32_t width() const { return getWidth(); }
  constexpr int32_t height() const { return getHeight(); }
  constexpr CPoint getTopLeft() const { return CPoint(left, top); }
  constexpr CPoint getBottomRight() const { return CPoint(right, bottom); }

  constexpr CRect& setWidth(int32_t w) {
    right = left + w;
    return *this;
  }
  constexpr CRect& setHeight(int32_t h) {
    bottom = top + h;
    return *this;
  }
  // No area: nothing to draw or clip to.
  constexpr bool isEmpty() const { return right <= left || bottom <= top; }

  constexpr CRect& offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  constexpr CRect& offset(const CPoint& d) { return offset(d.h, d.v); }
  // Keeps the size, moves the top-left corner to (x, y).
  constexpr CRect& moveTo(int32_t x, int32_t y) { return offset(x - left, y - top); }
  constexpr CRect& inset(int32_t dx, int32_t dy) {
    left += dx;
    right -= dx;
    top += dy;
    bottom -= dy;
    return *this;
  }
  // Puts left <= right and top <= bottom.
  constexpr CRect& normalize() {
    if (left > right) {
      const int32_t t = left;
      left = right;
      right = t;
    }
    if (top > bottom) {
      const int32_t t = top;
      top = bottom;
      bottom = t;
    }
    return *this;
  }

  // In place. Without an overlap the result is empty (width or height 0) but
  // never inverted, so callers can test isEmpty() and keep going.
  constexpr CRect& intersect(const CRect& o) {
    if (o.left > left) left = o.left;
    if (o.top > top) top = o.top;
    if (o.right < right) right = o.right;
    if (o.bottom < bottom) bottom = o.bottom;
    if (right < left) right = left;
    if (bottom < top) bottom = top;
    return *this;
  }
  constexpr CRect intersected(const CRect& o) const {
    CRect r = *this;
    r.intersect(o);
    return r;
  }
  // The pixel grid test: left/top inclusive, right/bottom exclusive.
  constexpr bool pointInside(const CPoint& p) const {
    return p.h >= left && p.h < right && p.v >= top && p.v < bottom;
  }
  // Mouse areas take both edges: a click on the right or bottom edge still hits.
  constexpr bool pointInsideInclusive(const CPoint& p) const {
    return p.h >= left && p.h <= right && p.v >= top && p.v <= bottom;
  }
  // Edges that touch count as an overlap.
  constexpr bool overlapsInclusive(const CRect& o) const {
    return !(o.right < left || right < o.left || o.bottom < top || bottom < o.top);
  }

  constexpr bool operator==(const CRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

// One byte per channel in this order. A colour written as one 32-bit number is
// this record read little-endian: 0xff000000 is opaque black.
struct CColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 255;

  constexpr CColor() = default;
  constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) : red(r), green(g), blue(b), alpha(a) {}

  static constexpr CColor fromValue(uint32_t v) {
    return CColor(static_cast<uint8_t>(v & 0xff), static_cast<uint8_t>((v >> 8) & 0xff),
                  static_cast<uint8_t>((v >> 16) & 0xff), static_cast<uint8_t>((v >> 24) & 0xff));
  }
  constexpr uint32_t toValue() const {
    return static_cast<uint32_t>(red) | (static_cast<uint32_t>(green) << 8) | (static_cast<uint32_t>(blue) << 16) |
           (static_cast<uint32_t>(alpha) << 24);
  }
  constexpr bool operator==(const CColor& o) const { return toValue() == o.toValue(); }
  constexpr bool operator!=(const CColor& o) const { return !(*this == o); }
};
static_assert(sizeof(CColor) == 4);

inline constexpr CColor kBlackCColor(0, 0, 0, 255);
inline constexpr CColor kWhiteCColor(255, 255, 255, 255);
inline constexpr CColor kTransparentCColor(0, 0, 0, 0);

// What a view answers to a mouse event.
enum class MouseResult : int32_t {
  NotImplemented = 0,
  Handled = 1,  // the view wants the following move and up events
  NotHandled = 2,
  HandledNoFollowUp = 3,  // handled, but route no move or up events to it
};

// Mouse buttons and modifier keys, passed to handlers as one set.
using MouseButtons = uint32_t;
inline constexpr MouseButtons kLeftButton = 0x2;
inline constexpr MouseButtons kMiddleButton = 0x4;
inline constexpr MouseButtons kRightButton = 0x8;
inline constexpr MouseButtons kShiftKey = 0x10;
inline constexpr MouseButtons kControlKey = 0x20;
inline constexpr MouseButtons kAltKey = 0x40;
inline constexpr MouseButtons kExtraButton1 = 0x100;
inline constexpr MouseButtons kExtraButton2 = 0x200;
inline constexpr MouseButtons kDoubleClick = 0x400;

// Messages passed through notify(). They are compared by address, not by text,
// so only these very arrays match.
inline constexpr char kMsgCheckIfViewContainer[] = "kMsgCheckIfViewContainer";
inline constexpr char kMsgNewFocusView[] = "kMsgNewFocusView";
inline constexpr char kMsgOldFocusView[] = "kMsgOldFocusView";

// Reference-counted base: created with a count of 1; retain adds one, release
// takes one and destroys the object at 0. Whoever stores a pointer to a shared
// object retains it and releases it later.
class CBaseObject {
 public:
  CBaseObject() = default;
  // A copy is a new object with its own single reference.
  CBaseObject(const CBaseObject&) {}
  CBaseObject& operator=(const CBaseObject&) { return *this; }
  virtual ~CBaseObject() = default;

  virtual void release() {
    if (--nbReference == 0) delete this;
  }
  virtual void retain() { ++nbReference; }
  // 0 means the message is unknown to the receiver.
  virtual int32_t notify(CBaseObject* /*sender*/, const char* /*message*/) { return 0; }

  int32_t getNbReference() const { return nbReference; }

 private:
  int32_t nbReference = 1;
};

}  // namespace Toolkit
