// A view that owns an ordered list of child views: it draws them first to last
// (later children paint on top) and routes events last to first (the topmost
// child gets the first chance).
#pragma once

#include "toolkit/view.h"

namespace Toolkit {

class COffscreenContext;

class CViewContainer : public CView {
 public:
  explicit CViewContainer(const CRect& size);
  // Removes every child with release.
  ~CViewContainer() override;

  // The container retains the view. A creator that hands over a fresh view
  // (count 1) keeps no reference of its own: removeView(view, true) destroys it.
  // Refused: null, already attached, already a child, the container itself or
  // one of its ancestors.
  virtual bool addViewBefore(CView* view, CView* before);
  virtual bool addViewWithArea(CView* view, const CRect& mouseArea, bool mouseEnabled = true);
  virtual bool addView(CView* view);
  // withRelease drops the creator's reference as well as the container's.
  virtual bool removeView(CView* view, bool withRelease = true);
  virtual bool removeAll(bool withRelease = true);
  virtual bool isChild(const CView* view) const;
  virtual int32_t getNbViews() const;
  virtual CView* getView(int32_t index) const;
  // The topmost visible child whose mouse area holds the point (in this
  // container's parent's coordinates); with deep, searches into containers.
  virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
  virtual CViewContainer* getContainerAt(const CPoint& where, bool deep = true);
  virtual void setBackgroundColor(const CColor& color);
  virtual CColor getBackgroundColor() const;
  virtual void setContainerBackgroundOffset(const CPoint& offset);
  virtual const CPoint& getContainerBackgroundOffset() const;
  virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
  virtual void setDrawOffscreen(bool state);
  virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);
  virtual void invalidateDirtyViews();
  using CView::getVisibleSize;
  // rect in this container's own coordinates, clipped by it and every
  // ancestor; the answer is in the same coordinates.
  virtual CRect getVisibleSize(const CRect& rect) const;
  virtual bool isChildVisible(const CView* child) const;
  virtual bool hitTestSubViews(const CPoint& where, MouseButtons buttons = 0);

  // CView
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  // Dirty when the container itself or any visible descendant is.
  bool isDirty() const override;
  // rect in the container's own coordinates.
  void invalidateRect(const CRect& rect) override;
  void invalidate() override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  bool onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) override;
  bool onDrop(CDragContainer* drag, const CPoint& where) override;
  void onDragEnter(CDragContainer* drag, const CPoint& where) override;
  void onDragLeave(CDragContainer* drag, const CPoint& where) override;
  void onDragMove(CDragContainer* drag, const CPoint& where) override;
  int32_t onKeyDown(VstKeyCode& key) override;
  int32_t onKeyUp(VstKeyCode& key) override;
  void setViewSize(const CRect& rect, bool invalidate = true) override;
  bool onDetached() override;
  bool onAttached(CView* parentView) override;
  bool isTypeOf(const char* name) const override;
  // Clones the children too.
  CView* clone() const override;
  int32_t notify(CBaseObject* sender, const char* message) override;

  CView* getMouseDownView() const { return mouseDownView; }
  void setMouseDownView(CView* view) { mouseDownView = view; }

 protected:
  CViewContainer(const CViewContainer& other);

  struct Node {
    CView* view;
    Node* next;
    Node* previous;
  };

  // Unlinks the node and forgets the view as mouse-down or drag target.
  void unlink(Node* node);
  Node* findNode(const CView* view) const;
  bool isDescendant(const CView* view) const;
  bool acceptsChild(const CView* view) const;
  void insertNode(CView* view, Node* before);
  void collectFocusViews(std::vector<CView*>& out);
  // Converts a point from this container's parent's coordinates into its own.
  CPoint toLocal(const CPoint& where) const { return CPoint(where.h - size.left, where.v - size.top); }

  Node* firstNode = nullptr;
  Node* lastNode = nullptr;
  COffscreenContext* offscreen = nullptr;
  CColor backgroundColor = CColor::fromValue(0xff000000);
  CPoint backgroundOffset;
  bool drawOffscreen = false;
  CView* mouseOverView = nullptr;
  CView* mouseDownView = nullptr;
};

}  // namespace Toolkit
