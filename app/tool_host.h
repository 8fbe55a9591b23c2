#pragma once
// What the tool windows need from the rest of the editor, gathered in one
// place so that each window can also run on its own (tests, previews) with
// plain values. ToolHostFromMain() fills it from the main window.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/languages.h"

namespace tavi {

class TMainForm;
class TTAVIDoc;
class TUOTileData;
struct TSettings;
class TAoSForm;

struct ToolHost {
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
  // A tool window was hidden: clear its check box on the control window
  // (only while the control window is visible).
  std::function<void()> objWindowHidden;
  std::function<void()> aosWindowHidden;
  // The AoS window, for the catalogue's click rule on the type list.
  std::function<TAoSForm*()> aosForm;
  // The cache import dialog: hide the control window (remembering whether it
  // was visible, floor selector to the top floor) and bring it back.
  std::function<void()> hideCtrlForDialog;
  std::function<void()> restoreCtrlAfterDialog;
  // After a cached house replaced the document: base height, surface size,
  // reference price, view refresh. File name and title stay.
  std::function<void(int baseHeight)> afterCacheImport;
  // Texts shown in message and input boxes: the main window's current ones,
  // else those of the settings' language.
  std::function<const LangMessages*()> messages;
  // Message and input boxes; null members use the real dialogs.
  std::function<void(QWidget* parent, const QString& text)> info;
  std::function<bool(QWidget* parent, const QString& text)> yesNo;
  // A one-line input box with an empty initial text; false when cancelled.
  std::function<bool(QWidget* parent, const QString& caption, const QString& prompt,
                     QString* answer)>
      input;

  LangMessages Msg() const;
  void Info(QWidget* parent, const QString& text) const;
  bool YesNo(QWidget* parent, const QString& text) const;
  bool Input(QWidget* parent, const QString& caption, const QString& prompt,
             QString* answer) const;
};

// The host of a tool window living beside the main window. A null main window
// gives an empty host (no document, no tiles).
ToolHost ToolHostFromMain(TMainForm* main);

// Where the page files and tavi.ini live (ends with '/'); empty without a
// main window.
QString ToolSettingsFolder(TMainForm* main);

}  // namespace tavi
