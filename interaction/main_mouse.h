#pragma once
// The mouse and keyboard rules of the drawing surface, kept apart from any
// widget: the main window feeds it events, and tests drive it directly.
#include <cstdint>

#include "document/house_document.h"
#include "interaction/edit_state.h"
#include "interaction/edit_tools.h"
#include "render/projection.h"
#include "render/view_state.h"

namespace tavi {
// The keys the drawing surface reacts to; every other key is Other.
enum class SurfaceKey { Shift, PageUp, PageDown, Other };

// What only the view can do for the rules: redraw, pick, find the cell under
// a point, run the hover timer. What the next click does comes from the edit
// state (interaction/edit_state.h).
class IMouseEnv {
 public:
  virtual ~IMouseEnv() = default;
  // The cell under a point of the drawing surface on a floor.
  virtual bool CellAtPoint(int px, int py, int floor, int* x, int* y) const = 0;
  // The pick name (PickName::Encode in render/pick.h) of the visible entry
  // under a point, or -1.
  virtual int PickTile(int px, int py) const = 0;
  virtual void Redraw() = 0;
  // The control window's list of the detail cell's stack (it repaints too).
  virtual void RefreshDetailList() = 0;
  virtual void SetTimerEnabled(bool on) = 0;
  // One zoom step in (Page Up) or out (Page Down); an environment without a
  // zoom leaves it out.
  virtual void ZoomStep(bool in) { (void)in; }
};

// The rules of the drawing surface: the state the tools share, and each
// event handed to the tool of the current edit mode (interaction/edit_tools.h).
class MainMouse {
 public:
  MainMouse(TTAVIDoc& doc, const EditState& edit, IMouseEnv& env)
      : doc_(doc), edit_(edit), env_(env) {}
  MainMouse(const MainMouse&) = delete;
  MainMouse& operator=(const MainMouse&) = delete;

  void Press(MouseButton button, bool shift, int px, int py);
  void Move(bool shift, int px, int py);
  void Release(MouseButton button, bool shift, int px, int py);
  // The Shift key went down or up.
  void SetShift(bool down);
  // A key went down or up while the drawing surface or the main window had
  // the focus. False when the rules do not use it, so that the window passes
  // it on: only Shift and the page keys are used, and a repeated Shift
  // release is passed on.
  bool KeyDown(SurfaceKey key, bool autoRepeat);
  bool KeyUp(SurfaceKey key, bool autoRepeat);
  // Forgets hover, drag and carried tile (after the document was replaced).
  void ResetTransient();

  // The live preview: copies the current floor into `scratch` and runs on it
  // the placement a click at the hover cell would make. False when there is
  // nothing to preview (then `scratch` is untouched).
  bool BuildPreview(FloorImage& scratch);
  // Whether the scene should outline the selection (the Stack and Inner modes).
  bool OutlineSelection() const;
  // The edit state and the mouse state of a frame; the other fields of `s`
  // stay as they are.
  void DescribeTo(ViewState& s) const;

  int HoverX = -1, HoverY = -1, HoverLayer = -1;
  int DetailX = -1, DetailY = -1;
  CellRect Selection;
  bool Dragging = false;
  bool ShiftDown = false;
  uint16_t CarriedId = 0;

 private:
  friend class ImmediateTool;
  friend class StackTool;
  friend class InnerTool;
  // The tool of the edit mode at this moment.
  IEditTool& Tool();
  const IEditTool& Tool() const { return const_cast<MainMouse*>(this)->Tool(); }

  int MinZFor(uint16_t id) const;
  // The cell under a point on the current floor.
  bool CellAt(int px, int py, int* x, int* y) const {
    return env_.CellAtPoint(px, py, edit_.Floor, x, y);
  }
  bool PlaceAt(int x, int y, uint16_t id, int minZ);
  void SetHover(int x, int y);
  void ClearHover();
  // The right button in the Stack and Inner modes: the control window's Add
  // on the selection, with Shift its Delete.
  void SelectionCommand(bool shift);
  // A selection drag follows the mouse.
  void DragSelection(int px, int py);
  // The left button released in the Stack and Inner modes: the cell under
  // the mouse becomes the detail cell.
  void EndSelectionDrag(int px, int py);
  // The automatic staircase at a cell of the current floor.
  void PlaceStairs(int x, int y);

  TTAVIDoc& doc_;
  const EditState& edit_;
  IMouseEnv& env_;
  ImmediateTool immediate_{*this};
  StackTool stack_{*this};
  InnerTool inner_{*this};
  IdleTool idle_{*this};
};

}  // namespace tavi
