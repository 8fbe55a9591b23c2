#pragma once
// A standard house from the client's multi files straight into a document:
// the reading of client/multi_files and the laying of io/multi_import, the
// way the editor and tavi-cli chain them.
#include <string>
#include <vector>

#include "client/multi_files.h"
#include "io/multi_import.h"

namespace tavi::test {

inline LoadResult ImportClientMulti(TTAVIDoc& doc, int multiId, int baseHeight,
                                    const std::string& idxPath, const std::string& mulPath,
                                    int recordSize = kMultiRecordSize) {
  std::vector<MultiComponent> components;
  std::string error;
  MultiFileFailure failure = MultiFileFailure::kNone;
  if (!ReadClientMulti(idxPath, mulPath, recordSize, multiId, &components, &error, &failure))
    return LoadResult::Failure(
        error, failure == MultiFileFailure::kFile ? LoadFailure::kFile : LoadFailure::kFormat);
  return ImportMulti(doc, components, baseHeight);
}

}  // namespace tavi::test
