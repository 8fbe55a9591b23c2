#pragma once
// The object catalogue: every item tile with art on the "Main" tab, and the
// user's pages of tile ids, kept in book_sys.ini and bookmark.ini.
#include <QCache>
#include <QImage>
#include <QWidget>
#include <memory>

#include "app/tool_host.h"
#include "settings/catalogue_pages.h"

class QMenu;
class QAction;
class QMenuBar;
class QTabBar;
class QStatusBar;

namespace tavi {

class PictureGrid;

class TObjForm : public QWidget {
  Q_OBJECT
 public:
  // Loads the page files from `pageFolder` (ending with '/'; the settings
  // folder) and takes over the legacy bookmarks of the host's settings.
  TObjForm(ICatalogueHost& host, const QString& pageFolder, QWidget* parent = nullptr);
  ~TObjForm() override;

  // Writes both page files; false when one could not be written.
  bool SavePages();
  CataloguePages& Pages() { return pages_; }
  const QString& PageFolder() const { return pageFolder_; }

  // The shown tab: 0 "Main", k + 1 page k.
  int CurrentTab() const;
  void SetCurrentTab(int tab);
  // The current cell index (row x columns + column).
  int CurrentIndex() const;
  PictureGrid* Grid() const { return grid_; }

  // Handlers (also driven by tests).
  // Lays the grid out for its width, keeping the cell index; the current
  // tile does not change.
  void FormResize();
  void TabChange();
  void MnFindClick();
  // Searches from the current cell; false (and the message) when not found.
  bool MnFindNextClick();
  void MnDelete1Click();
  void MnPageAddClick();
  void MnPageRenameClick();
  void MnPageDeleteClick();
  void AddToPage(int page);
  void PopMenuPopup();
  void Search1Click();
  QString StatusText() const;

  // Page operations without dialogs.
  int AddPage(const QString& name);
  void RenameShownPage(const QString& name);
  void DeleteShownPage();
  void FindNextFrom(const QString& lowerText);

  // Thumbnails drawn so far (cached per id).
  int CachedThumbnails() const { return int(thumbs_.size()); }
  int ThumbnailsDrawn() const { return thumbsDrawn_; }
  // Message boxes are skipped (tests) and their texts collected instead.
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  QStringList& QuietMessages() { return quietMessages_; }

 protected:
  void hideEvent(QHideEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void build();
  // The grid layout; with `reselect` the tile at the kept index becomes the
  // current tile (a change of tab).
  void layoutGrid(bool reselect);
  void loadPages();
  void rebuildAddMenus();
  void updateMenus();
  void applyTabState();
  int tileCountOnTab() const;
  uint16_t idAt(int index) const;
  QImage thumbnail(uint16_t id);
  bool gridSelect(int col, int row);
  void gridClicked();
  void moveToIndex(int index);
  void message(const QString& text);

  ICatalogueHost& host_;
  QString pageFolder_;
  CataloguePages pages_;
  // Thumbnails on white, per id; bounded so a long scroll cannot grow it
  // without end.
  QCache<uint16_t, QImage> thumbs_;
  bool movingRow_ = false;
  int thumbsDrawn_ = 0;
  bool quiet_ = false;
  QStringList quietMessages_;
  QString status_;

  QMenuBar* menuBar_ = nullptr;
  QTabBar* tab_ = nullptr;
  PictureGrid* grid_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QMenu* mnPage_ = nullptr;
  QMenu* mnObject_ = nullptr;
  QMenu* search1_ = nullptr;
  QMenu* popup_ = nullptr;
  QMenu* mnAdd_ = nullptr;
  QMenu* mnAdd1_ = nullptr;
  QAction* mnPageAdd_ = nullptr;
  QAction* mnPageRename_ = nullptr;
  QAction* mnPageDelete_ = nullptr;
  QAction* mnDelete_ = nullptr;
  QAction* mnFind1_ = nullptr;
  QAction* mnFindNext1_ = nullptr;
  QAction* mnFind_ = nullptr;
  QAction* mnFindNext_ = nullptr;
  QAction* mnDelete1_ = nullptr;
};

}  // namespace tavi
