#pragma once
// What the windows need from the rest of the editor, gathered in one place so
// that every window is made from a host alone: the main window fills one for
// all of them (TMainForm::MakeToolHost), tests fill only what a window uses.
// Members left empty do nothing and read as "none".
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/languages.h"
#include "document/house_document.h"

namespace tavi {

class TUOTileData;
struct TSettings;

// What the other windows read from the AoS objects window and ask of it: its
// type list (an AosType) and the grid's selected cell. The AoS window is one.
class IAosChoice {
 public:
  virtual ~IAosChoice() = default;
  virtual bool IsShown() const = 0;
  virtual int TypeIndex() const = 0;
  // Moves the type list without running its change (the catalogue's click rule).
  virtual void SetTypeIndexSilently(int index) = 0;
  virtual int SelectedCol() const = 0;
  virtual int SelectedRow() const = 0;
};

struct ToolHost {
  // ---- every window ----
  TTAVIDoc* doc = nullptr;
  const TUOTileData* tiles = nullptr;
  TSettings* settings = nullptr;
  // When set, these give the document and the tile data at the moment of use
  // (the main window loads its tile data after the windows exist).
  std::function<TTAVIDoc*()> docSource;
  std::function<const TUOTileData*()> tileSource;
  TTAVIDoc* Doc() const { return docSource ? docSource() : doc; }
  const TUOTileData* Tiles() const { return tileSource ? tileSource() : tiles; }
  // The control window's current tile, and making a tile the current one
  // (the control window shows it).
  std::function<uint16_t()> currentTile;
  std::function<void(uint16_t)> setCurrentTile;
  // Texts shown in message and input boxes: the main window's current ones,
  // else those of the settings' language.
  std::function<const LangMessages*()> messages;
  // Message and input boxes; null members use the real dialogs.
  std::function<void(QWidget* parent, const QString& text)> info;
  std::function<bool(QWidget* parent, const QString& text)> yesNo;
  // Opens a web page in the browser; false when none could be started. Null
  // uses the desktop's default browser.
  std::function<bool(const QString& url)> openUrl;
  // A one-line input box with an empty initial text; false when cancelled.
  std::function<bool(QWidget* parent, const QString& caption, const QString& prompt,
                     QString* answer)>
      input;

  // ---- the catalogue and AoS windows ----
  // A tool window was hidden: clear its check box on the control window.
  std::function<void()> objWindowHidden;
  std::function<void()> aosWindowHidden;
  // The AoS window, for the rules that follow its type list.
  std::function<IAosChoice*()> aosForm;

  // ---- the cache import dialog ----
  // Hide the control window (remembering whether it was visible, floor
  // selector to the top floor) and bring it back.
  std::function<void()> hideCtrlForDialog;
  std::function<void()> restoreCtrlAfterDialog;
  // The unsaved-changes question before a cached house replaces the
  // document; false when the import must not go on.
  std::function<bool()> askSaveChanges;
  // After a cached house replaced the document: base height, surface size,
  // reference price, view refresh; the house belongs to no file.
  std::function<void(int baseHeight)> afterCacheImport;

  // ---- the control window ----
  // Repaints the drawing surface.
  std::function<void()> redraw;
  // The cell whose stack the detail list shows (-1 when none) and the
  // selected rectangle of the main window.
  std::function<int()> detailX;
  std::function<int()> detailY;
  std::function<CellRect()> selection;
  // Marks a cell hidden or shown on every floor.
  std::function<void(int x, int y, bool hidden)> setHiddenCell;
  // Applies a zoom factor to the view.
  std::function<void(double)> setZoom;
  // The tool windows that the control window's check boxes show and hide.
  std::function<QWidget*()> objWindow;
  std::function<QWidget*()> aosWindow;

  LangMessages Msg() const;
  void Info(QWidget* parent, const QString& text) const;
  bool YesNo(QWidget* parent, const QString& text) const;
  bool Input(QWidget* parent, const QString& caption, const QString& prompt, QString* answer) const;
  IAosChoice* Aos() const { return aosForm ? aosForm() : nullptr; }
  // The AoS window is visible and shows "Stairs(Auto Stack)".
  bool AutoStairs() const;
  void Redraw() const {
    if (redraw) redraw();
  }
  int DetailX() const { return detailX ? detailX() : -1; }
  int DetailY() const { return detailY ? detailY() : -1; }
  CellRect Selection() const { return selection ? selection() : CellRect(); }
};

}  // namespace tavi
