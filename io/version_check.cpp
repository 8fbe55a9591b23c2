#include "io/version_check.h"

namespace tavi {

const char kVersionText[] = "TAVI ver 2.06 beta release 10.11.14";

int32_t MonthStamp(int year, int month) {
  return int32_t(year) * 100 + month;
}

bool UpdateCheckDue(bool enabled, int32_t lastCheck, int32_t thisMonth) {
  return enabled && lastCheck != thisMonth;
}

UpdateMessage CompareVersion(bool fetchOk, const std::string& body) {
  if (!fetchOk) return UpdateMessage::kFetchFailed;
  return body == kVersionText ? UpdateMessage::kNoNewInfo : UpdateMessage::kNewVersion;
}

}  // namespace tavi
