#pragma once
// What the tool windows need from the rest of the editor, gathered in one
// place so that each window can also run on its own (tests, previews) with
// plain values. ToolHostFromMain() fills it from the main window.
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace tavi {

class TMainForm;
class TTAVIDoc;
class TUOTileData;
struct TSettings;
class TAoSForm;

// The user-interface texts the tool windows show in message and input boxes.
// The language routine replaces them; the defaults are the English ones.
struct ToolMessages {
  QString NotFound = "Not found";
  QString AlreadyRegistered = "Already Registed.";
  QString SearchCaption = "Search";
  QString SearchPrompt = "Please input object name";
  QString NewPageCaption = "New Page";
  QString NewPagePrompt = "Please input page name";
  QString RenameCaption = "Rename";
  QString RenamePrompt = "Please input new page name";
  QString DeletePage = "Delete this page?";
  QString GettingVersion = "Getting version information...";
  QString NewVersion = "New version is published. please get it now.";
  QString FetchFailed = "Information acquisition is failed.";
  QString NoNewInfo = "No new information.";
};

struct ToolHost {
  TTAVIDoc* doc = nullptr;
  const TUOTileData* tiles = nullptr;
  TSettings* settings = nullptr;
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
  // Texts shown in message and input boxes.
  const ToolMessages* messages = nullptr;

  const ToolMessages& Msg() const;
};

// The host of a tool window living beside the main window. A null main window
// gives an empty host (no document, no tiles).
ToolHost ToolHostFromMain(TMainForm* main);

// Where the page files and tavi.ini live (ends with '/'); empty without a
// main window.
QString ToolSettingsFolder(TMainForm* main);

}  // namespace tavi
