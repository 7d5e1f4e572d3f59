// A rectangle of the editor that draws itself and answers mouse, wheel, key and
// drag events. Views form a tree under a frame; each view's rectangle is in its
// parent's coordinates.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/vst/host_interface.h"
#include "toolkit/base.h"

namespace Toolkit {

class CBitmap;
class CDrawContext;
class CFrame;
class CDragContainer;
class EditorInterface;

// Resize behaviour inside a container whose size changes: a child with the left
// (top) bit keeps its left (top) edge, one with the right (bottom) bit moves its
// right (bottom) edge with the parent's; right without left moves the child.
inline constexpr int32_t kAutosizeNone = 0;
inline constexpr int32_t kAutosizeLeft = 1 << 0;
inline constexpr int32_t kAutosizeTop = 1 << 1;
inline constexpr int32_t kAutosizeRight = 1 << 2;
inline constexpr int32_t kAutosizeBottom = 1 << 3;
inline constexpr int32_t kAutosizeColumn = 1 << 4;
inline constexpr int32_t kAutosizeRow = 1 << 5;
inline constexpr int32_t kAutosizeAll = kAutosizeLeft | kAutosizeTop | kAutosizeRight | kAutosizeBottom;

// Wheel axes passed to onWheelAxis.
inline constexpr int32_t kMouseWheelAxisX = 0;
inline constexpr int32_t kMouseWheelAxisY = 1;

class CView : public CBaseObject {
 public:
  explicit CView(const CRect& size);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  virtual void drawRect(CDrawContext* context, const CRect& updateRect);
  virtual bool intersectsUpdate(const CRect& rect) const;
  virtual bool isDirty() const;
  virtual void setDirty(bool state = true);
  virtual void invalidateRect(const CRect& rect);
  virtual void invalidate();
  virtual void setVisible(bool state);

  virtual MouseResult onMouseDown(const CPoint& where, MouseButtons buttons);
  virtual MouseResult onMouseUp(const CPoint& where, MouseButtons buttons);
  virtual MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons);
  virtual MouseResult onMouseEntered(const CPoint& where, MouseButtons buttons);
  virtual MouseResult onMouseExited(const CPoint& where, MouseButtons buttons);
  virtual bool hitTest(const CPoint& where, MouseButtons buttons = 0);
  virtual bool onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons);
  virtual bool onWheel(const CPoint& where, float distance, MouseButtons buttons);

  virtual void setMouseEnabled(bool state);
  virtual bool getMouseEnabled() const;
  virtual void setMouseArea(const CRect& rect);
  virtual CRect& getMouseArea();
  virtual CRect& getMouseArea(CRect& out) const;

  virtual bool onDrop(CDragContainer* drag, const CPoint& where);
  virtual void onDragEnter(CDragContainer* drag, const CPoint& where);
  virtual void onDragLeave(CDragContainer* drag, const CPoint& where);
  virtual void onDragMove(CDragContainer* drag, const CPoint& where);

  // 1 when the key was used, -1 when not.
  virtual int32_t onKeyDown(VstKeyCode& key);
  virtual int32_t onKeyUp(VstKeyCode& key);

  // Moves the view; the mouse area stays where it is.
  virtual void setViewSize(const CRect& rect, bool invalidate = true);
  virtual const CRect& getViewSize() const;
  virtual CRect& getViewSize(CRect& out) const;
  // The part of the view not clipped away by its ancestors, in its parent's
  // coordinates; empty when the view is not in a tree.
  virtual CRect getVisibleSize() const;
  virtual void onParentSizeChanged();
  virtual CPoint& frameToLocal(CPoint& point) const;
  virtual CPoint& localToFrame(CPoint& point) const;
  virtual void setAutosizeFlags(int32_t flags);
  virtual int32_t getAutosizeFlags() const;

  virtual void loseFocus();
  virtual void takeFocus();
  virtual bool wantsFocus() const;
  virtual void setWantsFocus(bool state);

  // Retains the new bitmap and releases the old one; null removes it.
  virtual void setBackground(CBitmap* bitmap);
  virtual CBitmap* getBackground() const;
  virtual void setTransparency(bool state);
  virtual bool getTransparency() const;

  virtual bool onDetached();
  virtual bool onAttached(CView* parentView);
  virtual EditorInterface* getEditor() const;
  virtual bool isTypeOf(const char* name) const;
  // A detached copy (count 1) with the same rectangle, flags, background and
  // attributes.
  virtual CView* clone() const;

  CFrame* getFrame() const { return frame; }
  CView* getParentView() const { return parent; }
  bool isAttached() const { return attached; }
  bool isVisible() const { return visible; }

  // Tagged byte blobs the view keeps for its users. Sizes are in bytes.
  bool setAttribute(uint32_t id, int32_t size, const void* data);
  bool getAttributeSize(uint32_t id, int32_t& size) const;
  // outSize receives the stored size; nothing is copied (false) when inSize
  // is smaller than that.
  bool getAttribute(uint32_t id, int32_t inSize, void* data, int32_t& outSize) const;
  bool removeAttribute(uint32_t id);

  CView& operator=(const CView&) = delete;

 protected:
  // For clone(): copies what a clone shares, not the place in a tree.
  CView(const CView& other);

  CRect size;
  CRect mouseArea;
  CFrame* frame = nullptr;
  CView* parent = nullptr;
  bool dirty = false;
  bool mouseEnabled = true;
  bool transparency = false;
  bool wantsFocusFlag = false;
  bool attached = false;
  bool visible = true;
  int32_t autosizeFlags = 0;
  CBitmap* background = nullptr;

 private:
  struct Attribute {
    uint32_t id;
    std::vector<uint8_t> bytes;
  };
  std::vector<Attribute> attributes;
};

}  // namespace Toolkit
