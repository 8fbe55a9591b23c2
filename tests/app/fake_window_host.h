#pragma once
// One host for every window a test makes on its own: plain fields to set and
// read, prompts answered by the test, and counters of what the windows asked.
#include <functional>
#include <set>
#include <utility>

#include "app/tool_host.h"
#include "settings/settings.h"
#include "tests/app/app_test_util.h"

namespace tavi::test {

class FakeWindowHost final : public ICatalogueHost,
                             public IAosHost,
                             public ICacheImportHost,
                             public IControlHost {
 public:
  TTAVIDoc* doc = nullptr;
  const TUOTileData* tiles = nullptr;
  TSettings* settings = &ownSettings;
  TSettings ownSettings;
  mutable EditState edit;
  mutable ScriptedPrompts prompts;  // the boxes said are in prompts.infos

  // The catalogue and AoS windows.
  std::function<void(uint16_t)> onCurrentTile;  // after edit.Tile is set
  IAosChoice* aos = nullptr;
  int catalogueHidden = 0, aosHidden = 0;

  // The cache import dialog.
  int ctrlHidden = 0, ctrlRestored = 0;
  std::function<bool()> askSaveChanges = [] { return true; };
  std::function<void()> afterCacheImport;

  // The control window.
  CellRect selection;
  int detailX = -1, detailY = -1, redraws = 0;
  double zoom = 0;
  std::set<std::pair<int, int>> hidden;
  QWidget* catalogueWindow = nullptr;
  QWidget* aosWindow = nullptr;

  TTAVIDoc* Doc() const override { return doc; }
  const TUOTileData* Tiles() const override { return tiles; }
  TSettings& Settings() const override { return *settings; }
  EditState& Edit() const override { return edit; }
  LangMessages Msg() const override { return MessagesFor(settings->Language); }
  UiPrompts& Prompts() const override { return prompts; }

  void SetCurrentTile(uint16_t id) override {
    edit.Tile = id;
    if (onCurrentTile) onCurrentTile(id);
  }
  IAosChoice* Aos() const override { return aos; }
  void CatalogueHidden() override { ++catalogueHidden; }
  void AosHidden() override { ++aosHidden; }

  void HideCtrlForDialog() override { ++ctrlHidden; }
  void RestoreCtrlAfterDialog() override { ++ctrlRestored; }
  bool AskSaveChanges() override { return askSaveChanges(); }
  void AfterCacheImport() override {
    if (afterCacheImport) afterCacheImport();
  }

  void Redraw() override { ++redraws; }
  int DetailX() const override { return detailX; }
  int DetailY() const override { return detailY; }
  CellRect Selection() const override { return selection; }
  void SetHiddenCell(int x, int y, bool on) override {
    if (on)
      hidden.insert({x, y});
    else
      hidden.erase({x, y});
  }
  void SetZoom(double z) override { zoom = z; }
  QWidget* CatalogueWindow() const override { return catalogueWindow; }
  QWidget* AosWindow() const override { return aosWindow; }
};

}  // namespace tavi::test
