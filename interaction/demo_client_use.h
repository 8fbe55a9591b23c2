#pragma once
// The demo client: when neither the settings nor discovery find the client's
// files, the editor may run on a demo client's folder for this run only. The
// paths stored at the end stay those from before, unless the user chose
// other paths meanwhile.
#include <string>

#include "settings/settings.h"

namespace tavi {

class DemoClientUse {
 public:
  // Switches `settings` (after discovery) to the demo client in `dir` when
  // their own client files are missing and the demo client's are all there
  // (each matched case-insensitively); `stored` are the settings as read
  // from the settings file. False, with `settings` untouched, otherwise.
  bool Adopt(TSettings& settings, const TSettings& stored, const std::string& dir);
  bool InUse() const { return inUse_; }
  // The settings to write at the end of the run: while the five client paths
  // are still the demo client's, the stored ones instead.
  TSettings ToStore(const TSettings& current) const;

 private:
  bool inUse_ = false;
  TSettings stored_;
  TSettings demo_;
};

}  // namespace tavi
