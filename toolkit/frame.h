// The root of the view tree. For now it has no window: it is a container that is
// its own frame and attached from construction, tracks the modal, focus and
// hover views, passes edit notifications to the editor and collects the area
// views ask to have repainted. Binding to the host's window comes on top.
#pragma once

#include "toolkit/editor_interface.h"
#include "toolkit/view_container.h"

namespace Toolkit {

class CFrame : public CViewContainer {
 public:
  // parentWindow is the host's window handle; null means headless (no window).
  CFrame(const CRect& size, void* parentWindow, EditorInterface* editor);
  // Drops the modal view without releasing it, then removes all children with release.
  ~CFrame() override;

  CFrame(const CFrame&) = delete;
  CFrame& operator=(const CFrame&) = delete;

  virtual bool getOpenFlag() const;
  // Repaints every view whose value or state changed since it was drawn.
  virtual void idle();
  virtual void runIdleCycle();
  virtual int32_t getKnobMode() const;
  // Refused (false) for a non-null view while a modal view is set or when the
  // view is attached; null clears the modal view (removed without release).
  virtual bool setModalView(CView* view);
  virtual CView* getModalView() const;
  virtual void beginEdit(int32_t index);
  virtual void endEdit(int32_t index);
  virtual void setFocusView(CView* view);
  virtual CView* getFocusView() const;
  // A view leaves the tree: forget it wherever the frame still points to it.
  virtual void onViewRemoved(CView* view);
  virtual void setOpenFlag(bool state);
  // Marks every child whose rectangle overlaps rect (edges inclusive) dirty.
  virtual void invalidateArea(const CRect& rect);

  EditorInterface* getEditorInterface() const { return editor; }
  void* getParentWindow() const { return parentWindow; }
  CView* getHoverView() const { return hoverView; }
  bool getFirstDraw() const { return firstDraw; }

  // The union of every rectangle invalidated since the last take; what a
  // window would be asked to repaint.
  bool hasInvalidRect() const { return invalidPending; }
  const CRect& getInvalidRect() const { return invalidRect; }
  CRect takeInvalidRect();

  // CView / CViewContainer
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  void invalidateRect(const CRect& rect) override;
  void invalidate() override;
  EditorInterface* getEditor() const override;
  bool isTypeOf(const char* name) const override;
  MouseResult onMouseDown(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseUp(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseMoved(const CPoint& where, MouseButtons buttons) override;
  MouseResult onMouseExited(const CPoint& where, MouseButtons buttons) override;
  bool onWheelAxis(const CPoint& where, int32_t axis, float distance, MouseButtons buttons) override;
  int32_t onKeyDown(VstKeyCode& key) override;
  int32_t onKeyUp(VstKeyCode& key) override;
  // A frame is never detached nor attached elsewhere.
  bool onAttached(CView* parentView) override;
  bool onDetached() override;
  CView* clone() const override { return nullptr; }

 protected:
  EditorInterface* editor;
  void* parentWindow;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
  CView* hoverView = nullptr;
  bool firstDraw = true;
  bool openFlag = true;

 private:
  CRect invalidRect;
  bool invalidPending = false;
};

}  // namespace Toolkit
