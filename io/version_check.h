#pragma once
// The update check's rules: when it is due, and what the fetched version text
// means. The text comes from a web server and is only ever compared.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavi {

// The program's own version string; also the first line of the About box.
extern const char kVersionText[];

// The longest version text kept from a response; more is cut off (and then
// cannot equal the version text).
constexpr size_t kMaxVersionBody = 4096;

// year x 100 + month (November 2010 is 201011).
int32_t MonthStamp(int year, int month);
// The check runs when it is enabled and this month has not been checked.
bool UpdateCheckDue(bool enabled, int32_t lastCheck, int32_t thisMonth);

enum class UpdateMessage { kGettingVersion, kNewVersion, kNoNewInfo, kFetchFailed };

// What a finished transfer shows: a failure shows only kFetchFailed; any body
// that is not exactly the version text (an empty one included) is news of a
// newer version.
UpdateMessage CompareVersion(bool fetchOk, const std::string& body);
inline UpdateMessage CompareVersion(bool fetchOk, const uint8_t* data, size_t size) {
  return CompareVersion(fetchOk, std::string(reinterpret_cast<const char*>(data),
                                             size > kMaxVersionBody ? kMaxVersionBody : size));
}

}  // namespace tavi
