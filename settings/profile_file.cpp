#include "settings/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "client/file_reader.h"
#include "io/atomic_file.h"

namespace tavi {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The name of a section line "[name]", or false when the line is none.
bool SectionName(const std::string& line, std::string* name) {
  // A file saved with a UTF-8 byte order mark has it before its first section.
  const bool bom = line.compare(0, 3, "\xEF\xBB\xBF") == 0;
  const std::string t = Trim(bom ? line.substr(3) : line);
  if (t.size() < 2 || t.front() != '[') return false;
  const size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

// The key of a "key=value" line; comment lines have none.
bool KeyName(const std::string& line, std::string* key) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  const std::string k = Trim(line.substr(0, eq));
  if (k.empty() || k[0] == ';') return false;
  *key = k;
  return true;
}

std::string OneLine(const std::string& value) {
  return value.substr(0, value.find_first_of("\r\n"));
}

}  // namespace

bool ParseInt32(const std::string& text, int32_t* value) {
  const std::string t = Trim(text);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size()) return false;
  int64_t v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    v = v * 10 + (t[i] - '0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  *value = int32_t(v);
  return true;
}

ProfileFile::ProfileFile(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t brk = text.find_first_of("\r\n", pos);
    if (brk == std::string::npos) {
      lines_.push_back({text.substr(pos), ""});
      break;
    }
    size_t next = brk + 1;
    if (text[brk] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines_.push_back({text.substr(pos, brk - pos), text.substr(brk, next - brk)});
    pos = next;
  }
}

bool ProfileFile::Load(const std::string& path, std::string* error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) {
    lines_.clear();
    return true;
  }
  if (S_ISDIR(st.st_mode) || st.st_size > off_t(kMaxFileSize)) {
    if (error) *error = path + ": not a settings file";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(path, kMaxFileSize, &bytes)) {
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
  }
  *this = ProfileFile(std::string(bytes.begin(), bytes.end()));
  return true;
}

bool ProfileFile::Save(const std::string& path, std::string* error) const {
  return WriteFileAtomically(path, Text(), error);
}

int ProfileFile::FindSection(const std::string& section) const {
  std::string name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (SectionName(lines_[i].text, &name) && SameName(name, section)) return int(i);
  return -1;
}

int ProfileFile::FindKey(int sectionLine, const std::string& key) const {
  std::string name;
  for (size_t i = size_t(sectionLine) + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i].text, &name)) break;
    if (KeyName(lines_[i].text, &name) && SameName(name, key)) return int(i);
  }
  return -1;
}

int ProfileFile::FindKey(const std::string& section, const std::string& key) const {
  const int s = FindSection(section);
  return s < 0 ? -1 : FindKey(s, key);
}

bool ProfileFile::HasKey(const std::string& section, const std::string& key) const {
  return FindKey(section, key) >= 0;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const int i = FindKey(section, key);
  if (i < 0) return def;
  const std::string& line = lines_[size_t(i)].text;
  std::string v = Trim(line.substr(line.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return v;
}

int32_t ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                                 int32_t def) const {
  int32_t v = def;
  return ParseInt32(ReadString(section, key, std::string()), &v) ? v : def;
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

const std::string& ProfileFile::NewLineEnd() const {
  // New lines follow the file's own line ends; a new file gets CR LF.
  static const std::string kCrLf = "\r\n";
  for (const Line& l : lines_)
    if (!l.end.empty()) return l.end;
  return kCrLf;
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  const std::string v = OneLine(value);
  const std::string end = NewLineEnd();
  const int s = FindSection(section);
  if (s >= 0) {
    const int k = FindKey(s, key);
    if (k >= 0) {
      std::string& line = lines_[size_t(k)].text;
      line = line.substr(0, line.find('=') + 1) + v;
      return;
    }
    // After the section's last non-blank line, so that blank lines that
    // separate it from the next section stay where they are.
    size_t at = size_t(s) + 1;
    std::string name;
    for (size_t i = at; i < lines_.size() && !SectionName(lines_[i].text, &name); ++i)
      if (!Trim(lines_[i].text).empty()) at = i + 1;
    if (lines_[at - 1].end.empty()) lines_[at - 1].end = end;
    lines_.insert(lines_.begin() + long(at), Line{OneLine(key) + "=" + v, end});
    return;
  }
  if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = end;
  lines_.push_back({"[" + OneLine(section) + "]", end});
  lines_.push_back({OneLine(key) + "=" + v, end});
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string ProfileFile::Text() const {
  std::string out;
  for (const Line& l : lines_) out += l.text + l.end;
  return out;
}

}  // namespace tavi
