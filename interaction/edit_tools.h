#pragma once
// The tools of the drawing surface, one per edit mode of the control window:
// Immediate places the current tile where the mouse clicks or paints; Stack
// drags a selection rectangle for the control window's Add and Delete; Inner
// picks an entry up and drops it on another cell. MainMouse holds the state
// they share (hover, detail cell, selection, drag, Shift, carried tile) and
// hands each event to the tool of the current mode.
#include "document/house_document.h"

namespace tavi {

class MainMouse;
enum class MouseButton { Left, Right, Other };

class IEditTool {
 public:
  virtual ~IEditTool() = default;
  virtual void Press(MouseButton button, bool shift, int px, int py) = 0;
  virtual void Move(int px, int py) = 0;
  virtual void Release(MouseButton button, bool shift, int px, int py) = 0;
  // The live preview of a click at the hover cell, run on `scratch` (a copy
  // of the current floor); false when there is none.
  virtual bool Preview(FloorImage& scratch) = 0;
  // Whether the scene outlines the selection while this tool is active.
  virtual bool OutlinesSelection() const = 0;
};

// Left click or paint: painted parts and the automatic staircase on press and
// while dragging, other tiles on release; Shift points at an entry (and a
// Shift click deletes it); a right click shows a cell's stack.
class ImmediateTool : public IEditTool {
 public:
  explicit ImmediateTool(MainMouse& mouse) : m_(mouse) {}
  void Press(MouseButton button, bool shift, int px, int py) override;
  void Move(int px, int py) override;
  void Release(MouseButton button, bool shift, int px, int py) override;
  bool Preview(FloorImage& scratch) override;
  bool OutlinesSelection() const override { return false; }

 private:
  void PointAtEntry(int px, int py);
  MainMouse& m_;
};

// A selection rectangle dragged with the left button; the right button runs
// the control window's Add (with Shift, Delete) on it.
class StackTool : public IEditTool {
 public:
  explicit StackTool(MainMouse& mouse) : m_(mouse) {}
  void Press(MouseButton button, bool shift, int px, int py) override;
  void Move(int px, int py) override;
  void Release(MouseButton button, bool shift, int px, int py) override;
  bool Preview(FloorImage&) override { return false; }
  bool OutlinesSelection() const override { return true; }

 protected:
  MainMouse& m_;
};

// The Stack tool's selection and commands, and the carried entry: a left
// press picks the entry under the mouse up (its removal is one undo step), the
// release drops it at the working altitude.
class InnerTool : public StackTool {
 public:
  explicit InnerTool(MainMouse& mouse) : StackTool(mouse) {}
  void Press(MouseButton button, bool shift, int px, int py) override;
  void Move(int px, int py) override;
  void Release(MouseButton button, bool shift, int px, int py) override;
  bool Preview(FloorImage& scratch) override;

 private:
  void PickUp(int px, int py);
};

// No mode chosen: a selection drag already under way still follows the
// mouse; nothing else happens.
class IdleTool : public StackTool {
 public:
  explicit IdleTool(MainMouse& mouse) : StackTool(mouse) {}
  void Press(MouseButton, bool, int, int) override {}
  void Release(MouseButton, bool, int, int) override {}
  bool OutlinesSelection() const override { return false; }
};

}  // namespace tavi
