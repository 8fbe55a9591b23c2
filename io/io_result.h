#pragma once
// What a load or import reports. A failed load leaves the document exactly as
// it was and says what went wrong.
#include <string>

namespace tavi {

// What kind of failure a load met, so that the editor can pick its message.
enum class LoadFailure {
  kNone,
  kFile,     // the file could not be opened or read
  kVersion,  // the header's version text does not match
  kFormat,   // the data is broken or does not fit the document
};

struct LoadResult {
  bool ok = false;
  // On success: the base height as the source stored it (the file header, the
  // clip text's plot word, the chosen cache value, or the value the caller
  // gave), before the clamp. The house itself holds it clamped.
  int baseHeight = -1;
  std::string error;  // one line saying what failed; empty on success
  LoadFailure failure = LoadFailure::kNone;
  // On success: what the reader noticed but could read past (one line), or
  // empty.
  std::string warning;

  // The classic integer result: the base height, or -1 on failure.
  int Code() const { return ok ? baseHeight : -1; }

  static LoadResult Success(int base) { return {true, base, {}, LoadFailure::kNone, {}}; }
  static LoadResult Failure(std::string message, LoadFailure kind = LoadFailure::kFormat) {
    return {false, -1, std::move(message), kind, {}};
  }
};

// A house file whose last line has no line end.
constexpr const char kCutShortWarning[] =
    "the last line has no line end: the file may be cut short";

struct SaveResult {
  bool ok = false;
  std::string error;
  std::string warning;  // set when the output was written but carries less than the house
};

}  // namespace tavi
