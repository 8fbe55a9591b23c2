#include "settings/catalogue_pages.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "client/file_reader.h"
#include "io/atomic_file.h"

namespace tavi {
namespace {

// A page file far beyond any real one is read only up to this size, and no
// more pages than this are kept: a damaged file cannot exhaust memory.
constexpr size_t kMaxPageFileBytes = 16u << 20;
constexpr size_t kMaxPages = 1024;

enum class PageFileRead { kMissing, kWhole, kPart };

// Reads a page file. A FIFO or a folder at its name is not read (never waits
// for a writer); one over the cap gives its first kMaxPageFileBytes.
PageFileRead ReadPageFile(const std::string& path, std::string* out, std::string* reason) {
  out->clear();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return PageFileRead::kMissing;
    *reason = std::strerror(errno);
    return PageFileRead::kPart;
  }
  if (S_ISDIR(st.st_mode)) {
    *reason = "it is a folder";
    return PageFileRead::kPart;
  }
  if (!S_ISREG(st.st_mode)) {
    *reason = "it is not a regular file";
    return PageFileRead::kPart;
  }
  std::vector<uint8_t> bytes;
  errno = 0;
  if (!ReadFileBounded(path, kMaxPageFileBytes, &bytes)) {
    *reason = std::strerror(errno ? errno : EIO);
    return PageFileRead::kPart;
  }
  out->assign(bytes.begin(), bytes.end());
  if (size_t(st.st_size) > kMaxPageFileBytes) {
    *reason = "it is larger than " + std::to_string(kMaxPageFileBytes >> 20) + " MB";
    return PageFileRead::kPart;
  }
  return PageFileRead::kWhole;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The position of the first character from i on that is neither a blank nor
// a tab.
size_t SkipBlanks(const std::string& line, size_t i) {
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return i;
}

// A sign at *i, stepped over: true for '-'.
bool ReadSign(const std::string& line, size_t* i) {
  if (*i < line.size() && (line[*i] == '+' || line[*i] == '-')) return line[(*i)++] == '-';
  return false;
}

// The radix a prefix at *i gives, stepped over: "$", "0x" and "0X" give 16;
// no prefix, 10.
int ReadRadix(const std::string& line, size_t* i) {
  if (*i < line.size() && line[*i] == '$') {
    ++*i;
    return 16;
  }
  if (*i + 1 < line.size() && line[*i] == '0' && (line[*i + 1] == 'x' || line[*i + 1] == 'X')) {
    *i += 2;
    return 16;
  }
  return 10;
}

// The digits from i to the end of the line in `base`. False on any other
// character or a value above `limit`.
bool ReadDigits(const std::string& line, size_t i, int base, int64_t limit, int64_t* value) {
  *value = 0;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    const int d = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    *value = *value * base + d;
    if (*value > limit) return false;
  }
  return true;
}

}  // namespace

bool ParsePageCode(const std::string& line, uint16_t* code) {
  size_t i = SkipBlanks(line, 0);
  const bool negative = ReadSign(line, &i);
  const int base = ReadRadix(line, &i);
  if (i >= line.size()) return false;
  int64_t value = 0;
  if (!ReadDigits(line, i, base, 0x7FFFFFFFLL + (negative ? 1 : 0), &value)) return false;
  if (negative && value != 0) return false;
  *code = uint16_t(value & 0xFFFF);
  return true;
}

std::string FormatPageCode(uint16_t code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "$%.4X", unsigned(code));
  return buf;
}

int CataloguePages::AddPage(const std::string& name) {
  Pages.push_back(CataloguePage{name, {}});
  return int(Pages.size()) - 1;
}

namespace {

// The line that starts at *pos, which moves past it and its end ("\r\n",
// "\r" or "\n").
std::string NextLine(const std::string& text, size_t* pos) {
  size_t end = text.find_first_of("\r\n", *pos);
  if (end == std::string::npos) end = text.size();
  std::string line = text.substr(*pos, end - *pos);
  *pos = end;
  if (*pos < text.size() && text[*pos] == '\r') {
    ++*pos;
    if (*pos < text.size() && text[*pos] == '\n') ++*pos;
  } else if (*pos < text.size()) {
    ++*pos;  // '\n'
  }
  return line;
}

// A header line "[name]" opens a page that the code lines after it go to;
// beyond the limit of pages, their codes are dropped.
void OpenPage(CataloguePages& pages, const std::string& line, int* current) {
  if (pages.Pages.size() >= kMaxPages) {
    *current = -1;
    return;
  }
  *current = pages.AddPage(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string());
}

// A code line adds its code to the current page, if there is one and it is
// not full; a line that is not a code is skipped.
void AddCodeLine(CataloguePages& pages, const std::string& line, int current) {
  uint16_t code;
  if (!ParsePageCode(line, &code)) return;
  if (current < 0 || current >= int(pages.Pages.size())) return;
  auto& codes = pages.Pages[size_t(current)].Codes;
  if (codes.size() < size_t(kMaxPageCodes)) codes.push_back(code);
}

}  // namespace

void CataloguePages::ReadText(const std::string& text, int* current) {
  size_t pos = 0;
  while (pos < text.size()) {
    const std::string line = NextLine(text, &pos);
    if (line.empty()) continue;
    if (line[0] == '[')
      OpenPage(*this, line, current);
    else
      AddCodeLine(*this, line, *current);
  }
}

std::string CataloguePages::PageFileText(bool systemPages) const {
  std::string out;
  for (const auto& page : Pages) {
    const bool isSystem = std::find(SystemPageNames.begin(), SystemPageNames.end(), page.Name) !=
                          SystemPageNames.end();
    if (isSystem != systemPages) continue;
    out += "[" + page.Name + "]\r\n";
    for (uint16_t c : page.Codes) out += FormatPageCode(c) + "\r\n";
    out += "\r\n";
  }
  return out;
}

void CataloguePages::Load(const std::string& folder, int32_t* legacyCount,
                          const uint16_t* legacyCodes, int legacyCapacity) {
  Pages.clear();
  SystemPageNames.clear();
  int current = -1;
  if (legacyCount && *legacyCount > 0) {
    current = AddPage("Bookmark");
    const int n = std::min(*legacyCount, legacyCapacity);
    for (int i = 0; i < n && legacyCodes; ++i)
      Pages[size_t(current)].Codes.push_back(legacyCodes[i]);
    *legacyCount = 0;
  }
  // An empty folder name means no page files at all (never the working folder).
  Unread.clear();
  auto read = [&](const char* name) {
    if (folder.empty()) return;
    std::string text, reason;
    const PageFileRead r = ReadPageFile(folder + name, &text, &reason);
    if (r == PageFileRead::kPart) Unread.push_back({folder + name, reason});
    ReadText(text, &current);
  };
  read(kSystemFile);
  SystemPageNames.push_back("Main");
  for (const auto& p : Pages) SystemPageNames.push_back(p.Name);
  read(kUserFile);
}

bool CataloguePages::Save(const std::string& folder, std::string* error) const {
  if (folder.empty()) {
    if (error) *error = "no folder for the page files";
    return false;
  }
  bool ok = true;
  for (const bool system : {true, false}) {
    const std::string path = folder + (system ? kSystemFile : kUserFile);
    const bool unread = std::any_of(Unread.begin(), Unread.end(),
                                    [&](const UnreadPageFile& u) { return u.path == path; });
    if (unread) continue;
    ok = WriteFileAtomically(path, PageFileText(system), ok ? error : nullptr) && ok;
  }
  return ok;
}

AddCodeResult CataloguePages::AddCode(int page, uint16_t code) {
  AddCodeResult r;
  if (page < 0 || page >= int(Pages.size())) return r;
  auto& codes = Pages[size_t(page)].Codes;
  r.duplicates = int(std::count(codes.begin(), codes.end(), code));
  if (codes.size() < size_t(kMaxPageCodes)) {
    codes.push_back(code);
    r.added = true;
  }
  return r;
}

bool CataloguePages::RemoveCode(int page, int index) {
  if (page < 0 || page >= int(Pages.size())) return false;
  auto& codes = Pages[size_t(page)].Codes;
  if (index < 0 || index >= int(codes.size())) return false;
  codes.erase(codes.begin() + index);
  return true;
}

void CataloguePages::RenamePage(int page, const std::string& name) {
  if (page >= 0 && page < int(Pages.size())) Pages[size_t(page)].Name = name;
}

void CataloguePages::DeletePage(int page) {
  if (page >= 0 && page < int(Pages.size())) Pages.erase(Pages.begin() + page);
}

std::string LowerSearchText(const std::string& text) {
  std::string out = text;
  for (char& ch : out) {
    unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ch = char(c + 32);
  }
  return out;
}

int FindNextName(const std::string& lowerText, int start, int count,
                 const std::function<std::string(int)>& nameAt) {
  if (count <= 0) return -1;
  if (start < 0 || start >= count) start = 0;
  int i = start + 1;
  if (i >= count) i = 0;
  while (i != start) {
    if (nameAt(i).find(lowerText) != std::string::npos) return i;
    if (++i >= count) i = 0;
  }
  return -1;
}

}  // namespace tavi
