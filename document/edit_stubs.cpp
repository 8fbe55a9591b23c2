// Temporary bodies; replaced file by file.
#include "document/u_document.h"

namespace tavi {

const char kClipHeader[] = "TAVI File ver 1.00";
bool IsSelectionClipText(const std::string&) { return false; }

bool TTAVIDoc::PlaceTile(int, int, bool, FloorImage&, int, uint16_t, int) { return false; }
bool TTAVIDoc::PlaceAutoStairs(int, int, bool, FloorImage&, int, int, int) { return true; }
bool TTAVIDoc::PlaceStairsInRect(const CellRect&, int, int, int) { return true; }
void TTAVIDoc::StackInRect(const CellRect&, int, int, int, uint16_t) {}
void TTAVIDoc::DeleteInRect(const CellRect&, int) {}
void TTAVIDoc::DeleteEntry(int, int, int, int) {}
int TTAVIDoc::RaiseEntry(int, int, int, int) { return -1; }
int TTAVIDoc::LowerEntry(int, int, int, int) { return -1; }
void TTAVIDoc::RemoveEntry(int, int, int, int) {}
void TTAVIDoc::CopyRect(const CellRect&, int, ITextClipboard&) {}
void TTAVIDoc::CutRect(const CellRect&, int, ITextClipboard&) {}
void TTAVIDoc::PasteAt(int, int, int, int, int, const ITextClipboard&) {}
void TTAVIDoc::PasteText(int, int, int, int, const std::string&) {}
bool TTAVIDoc::ReplaceParts(ReplaceTable, const CellRect&, int, int) { return false; }
void TTAVIDoc::BuildFoundation(uint16_t, uint16_t, uint16_t, uint16_t, uint16_t, uint16_t,
                               uint16_t) {}
void TTAVIDoc::DeleteExceptCustomization() {}

}  // namespace tavi
