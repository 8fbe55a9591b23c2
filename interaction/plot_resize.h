#pragma once
// What a smaller plot size would cost: the entries that lie outside it.
#include "document/house_document.h"

namespace tavi {

// The number of tile entries of every floor that lie inside the document's
// plot but outside the first `width` x `height` cells (document sizes).
// 0 when the new plot holds the old one.
int EntriesOutsidePlot(const TTAVIDoc& doc, int width, int height);

}  // namespace tavi
