// File > Import Design... and Export Design...: the community's design
// formats, read and written by io/design_formats; the format follows the file
// dialog's filter, the file's extension and its content.
#include <QFileInfo>

#include "app/main_window.h"
#include "app/main_window_impl.h"
#include "app/ui_prompts.h"
#include "client/tile_data.h"
#include "io/atomic_file.h"
#include "io/design.h"
#include "io/design_formats.h"
#include "io/house_file.h"
#include "settings/recent_files.h"

namespace tavi {

namespace {

struct DesignFilter {
  const char* filter;
  DesignFormat format;
  const char* suffix;
};

constexpr DesignFilter kDesignFilters[] = {
    {"UOA text (*.uoa.txt *.txt *.uoa)", DesignFormat::kUoaText, ".uoa.txt"},
    {"Plain multi text (*.txt)", DesignFormat::kMultiText, ".txt"},
    {"UOA binary (*.uoa)", DesignFormat::kUoaBinary, ".uoa"},
    {"CSV (*.csv)", DesignFormat::kCsv, ".csv"},
    {"WSC (*.wsc)", DesignFormat::kWsc, ".wsc"},
};

QString DesignFilterText() {
  QStringList parts;
  for (const DesignFilter& f : kDesignFilters) parts << f.filter;
  parts << "All Files (*)";
  return parts.join(";;");
}

}  // namespace

void TMainForm::MnImportDesignClick() {
  if (!AskSaveChanges()) return;
  const QString file = d->prompts->OpenFile(this, StartFolder(int(FileKind::kImport), QString()),
                                            DesignFilterText());
  if (file.isEmpty()) return;
  NoteFolder(int(FileKind::kImport), file);
  DesignFile designs;
  std::string error;
  if (!ReadDesignFile(file.toStdString(), nullptr, &designs, &error)) {
    d->prompts->Error(this, QString::fromStdString(error));
    return;
  }
  size_t pick = 0;
  if (designs.designs.size() > 1) {
    QStringList names;
    for (size_t i = 0; i < designs.designs.size(); ++i) {
      const Design& one = designs.designs[i];
      QString name = QString::number(i + 1) + ". " + QString::fromStdString(one.name);
      if (!one.category.empty()) name += " (" + QString::fromStdString(one.category) + ")";
      names << name;
    }
    const int chosen =
        d->prompts->ChooseItem(this, "The file holds several designs. Which one?", names);
    if (chosen < 0) return;
    pick = size_t(chosen);
  }
  // None of the formats carries the base height.
  int base = 7;
  if (!d->prompts->AskNumber(this, "Base height of the design (0 to 9):", 0, 9, &base)) return;
  const LoadResult r = ImportDesign(*d->doc, designs.designs[pick], base);
  if (!r.ok) {
    d->prompts->Error(this, file + ": " + QString::fromStdString(r.error));
    return;
  }
  // The design belongs to no house file: Save asks for a name.
  ForgetFileName();
  AfterDocumentReplaced(QString());
  if (!designs.warning.empty()) d->prompts->Info(this, QString::fromStdString(designs.warning));
}

void TMainForm::MnExportDesignClick() {
  QString chosen;
  QString file = d->prompts->SaveFileFiltered(this, StartFolder(int(FileKind::kImport), QString()),
                                              DesignFilterText(), &chosen);
  if (file.isEmpty()) return;
  NoteFolder(int(FileKind::kImport), file);
  DesignFormat format = DesignFormatForWrite(file.toStdString());
  for (const DesignFilter& f : kDesignFilters) {
    if (chosen != f.filter) continue;
    format = f.format;
    // A name typed without an extension gets the filter's.
    if (!QFileInfo(file).fileName().contains('.')) file += f.suffix;
  }
  DynamicTest dynamic;
  const TUOTileData* tiles = d->tiles.get();
  if (tiles) {
    bool doors = false;
    for (int f = 0; f < kFloors && !doors; ++f)
      for (int layer = 0; layer < kLayers && !doors; ++layer)
        for (int y = 0; y < d->doc->Height && !doors; ++y)
          for (int x = 0; x < d->doc->Width && !doors; ++x) {
            const uint16_t id = d->doc->Tiles[f][layer][y][x].Id;
            doors = id != 0 && tiles->IsDoor(id);
          }
    if (doors && d->prompts->YesNo(this,
                                   "The house has doors. Write them as spawned by the server "
                                   "(flag 0)?"))
      dynamic = [tiles](uint16_t id) { return tiles->IsDoor(id); };
  }
  Design design = DesignOfHouse(*d->doc, dynamic);
  if (design.components.empty()) {
    d->prompts->Error(this, "The house has no tiles.");
    return;
  }
  design.name = HouseNameOf(CurrentFileName().toStdString());
  std::string error;
  if (!WriteFileAtomically(file.toStdString(), WriteDesign(format, design), &error))
    d->prompts->Error(this, QString::fromStdString(error));
}

}  // namespace tavi
