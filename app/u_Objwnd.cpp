#include "app/u_Objwnd.h"

#include <QHideEvent>

#include "app/picture_grid.h"

namespace tavi {

TObjForm::TObjForm(TMainForm* main, QWidget* parent)
    : TObjForm(ToolHostFromMain(main), ToolSettingsFolder(main), parent) {}

TObjForm::TObjForm(const ToolHost& host, const QString& pageFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool), host_(host), pageFolder_(pageFolder) {
  setObjectName("ObjForm");
  setWindowTitle("Object Window");
  build();
  loadPages();
}

TObjForm::~TObjForm() = default;

void TObjForm::build() { grid_ = new PictureGrid(this); }
void TObjForm::loadPages() {}
bool TObjForm::SavePages() { return true; }
int TObjForm::CurrentTab() const { return 0; }
void TObjForm::SetCurrentTab(int) {}
int TObjForm::CurrentIndex() const { return 0; }
void TObjForm::FormResize() {}
void TObjForm::TabChange() {}
void TObjForm::MnFindClick() {}
bool TObjForm::MnFindNextClick() { return false; }
void TObjForm::MnDelete1Click() {}
void TObjForm::MnPageAddClick() {}
void TObjForm::MnPageRenameClick() {}
void TObjForm::MnPageDeleteClick() {}
void TObjForm::AddToPage(int) {}
void TObjForm::PopMenuPopup() {}
void TObjForm::Search1Click() {}
QString TObjForm::StatusText() const { return status_; }
int TObjForm::AddPage(const QString&) { return -1; }
void TObjForm::RenameShownPage(const QString&) {}
void TObjForm::DeleteShownPage() {}
void TObjForm::FindNextFrom(const QString&) {}
void TObjForm::hideEvent(QHideEvent* e) { QWidget::hideEvent(e); }
void TObjForm::resizeEvent(QResizeEvent* e) { QWidget::resizeEvent(e); }
void TObjForm::showEvent(QShowEvent* e) { QWidget::showEvent(e); }

}  // namespace tavi
