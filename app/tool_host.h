#pragma once
// What each window needs from the rest of the editor, as one small interface
// per window. The main window implements them all (MainWindowHost in
// app/app_host.h); a test implements the one of the window it drives. Every
// function is pure, so a window cannot be made with a host that leaves one out.
#include <QString>
#include <QWidget>
#include <cstdint>

#include "app/languages.h"
#include "app/ui_prompts.h"
#include "document/house_document.h"
#include "interaction/edit_state.h"

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

// What every window reads: the document, the tile data (null until loaded),
// the settings, the edit state, the message texts of the current language and
// the message boxes.
class IWindowHost {
 public:
  virtual ~IWindowHost() = default;
  virtual TTAVIDoc* Doc() const = 0;
  virtual const TUOTileData* Tiles() const = 0;
  virtual TSettings& Settings() const = 0;
  virtual EditState& Edit() const = 0;
  virtual LangMessages Msg() const = 0;
  // Message boxes, questions, the one-line input box and the web browser.
  virtual UiPrompts& Prompts() const = 0;
};

// The windows that choose a tile (the catalogue and the AoS window): the
// chosen one becomes the current tile, which the control window shows.
class ITileChoiceHost : public virtual IWindowHost {
 public:
  virtual void SetCurrentTile(uint16_t id) = 0;
};

// The catalogue window: the AoS window (its type list follows a click), and
// telling the control window that the catalogue was closed.
class ICatalogueHost : public virtual ITileChoiceHost {
 public:
  virtual IAosChoice* Aos() const = 0;
  virtual void CatalogueHidden() = 0;
};

// The AoS objects window: telling the control window that it was closed.
class IAosHost : public virtual ITileChoiceHost {
 public:
  virtual void AosHidden() = 0;
};

// The cache import dialog.
class ICacheImportHost : public virtual IWindowHost {
 public:
  // Hide the control window (remembering whether it was visible, floor
  // selector to the top floor) and bring it back.
  virtual void HideCtrlForDialog() = 0;
  virtual void RestoreCtrlAfterDialog() = 0;
  // The unsaved-changes question before a cached house replaces the
  // document; false when the import must not go on.
  virtual bool AskSaveChanges() = 0;
  // After a cached house replaced the document: base height, surface size,
  // reference price, view refresh; the house belongs to no file.
  virtual void AfterCacheImport() = 0;
};

// The control window.
class IControlHost : public virtual IWindowHost {
 public:
  // Repaints the drawing surface.
  virtual void Redraw() = 0;
  // The cell whose stack the detail list shows (-1 when none) and the
  // selected rectangle of the main window.
  virtual int DetailX() const = 0;
  virtual int DetailY() const = 0;
  virtual CellRect Selection() const = 0;
  // Marks a cell hidden or shown on every floor.
  virtual void SetHiddenCell(int x, int y, bool hidden) = 0;
  // Applies a zoom factor to the view.
  virtual void SetZoom(double zoom) = 0;
  // The tool windows that the control window's check boxes show and hide.
  virtual QWidget* CatalogueWindow() const = 0;
  virtual QWidget* AosWindow() const = 0;
};

// The version check and the foundation dialog need only what every window reads.
using IUpdateHost = IWindowHost;
using IFoundationHost = IWindowHost;

}  // namespace tavi
