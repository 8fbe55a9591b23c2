#include "settings/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "client/file_reader.h"
#include "io/atomic_file.h"
#include "io/house_file.h"

namespace tavi {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The name of a section line "[name]", or false when the line is none.
bool SectionName(std::string_view line, std::string_view* name) {
  // A file saved with a UTF-8 byte order mark has it before its first section.
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  const std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

// The key of a "key=value" line; comment lines have none.
bool KeyName(std::string_view line, std::string_view* key) {
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  const std::string_view k = Trim(line.substr(0, eq));
  if (k.empty() || k[0] == ';') return false;
  *key = k;
  return true;
}

std::string OneLine(const std::string& value) {
  return value.substr(0, value.find_first_of("\r\n"));
}

// One line of a text: [begin, end) without its line end, `next` after it.
struct LineAt {
  size_t begin = 0, end = 0, next = 0;
};

// The line starting at `pos` (< text.size()). Line ends: CR LF, LF, CR.
LineAt LineFrom(const std::string& text, size_t pos) {
  LineAt l;
  l.begin = pos;
  size_t e = text.find_first_of("\r\n", pos);
  if (e == std::string::npos) e = text.size();
  l.end = e;
  l.next = e;
  if (e < text.size())
    l.next = text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n' ? e + 2 : e + 1;
  return l;
}

std::string_view View(const std::string& text, const LineAt& l) {
  return std::string_view(text).substr(l.begin, l.end - l.begin);
}

}  // namespace

bool ParseInt32(const std::string& text, int32_t* value) {
  const std::string_view t = Trim(text);
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

bool ProfileFile::Load(const std::string& path, std::string* error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      text_.clear();
      return true;
    }
    if (error) *error = path + ": " + std::strerror(errno);
    return false;
  }
  const char* why = S_ISDIR(st.st_mode)                ? "it is a folder"
                    : !S_ISREG(st.st_mode)             ? "it is not a regular file"
                    : st.st_size > off_t(kMaxFileSize) ? "it is larger than 16 MB"
                                                       : nullptr;
  if (why) {
    if (error) *error = path + ": " + why;
    return false;
  }
  // Straight into the text: no second copy of a large file.
  std::string text, failure;
  if (!ReadWholeFile(path, &text, &failure, kMaxFileSize)) {
    if (error) *error = failure;
    return false;
  }
  text_ = std::move(text);
  return true;
}

bool ProfileFile::Save(const std::string& path, std::string* error) const {
  return WriteFileAtomically(path, text_, error);
}

// The walks below jump from one '[' or '=' to the next (memchr speed)
// instead of going line by line: a file of millions of blank or odd lines
// costs little more than its size per look-up.

// The start of the line holding position p.
size_t LineStart(const std::string& text, size_t p) {
  const size_t brk = p == 0 ? std::string::npos : text.find_last_of("\r\n", p - 1);
  return brk == std::string::npos ? 0 : brk + 1;
}

size_t ProfileFile::NextSectionLine(size_t from, const std::string* section) const {
  std::string_view name;
  for (size_t pos = from; pos < text_.size();) {
    const size_t bracket = text_.find('[', pos);
    if (bracket == std::string::npos) break;
    const size_t start = std::max(LineStart(text_, bracket), from);
    const LineAt l = LineFrom(text_, start);
    if (SectionName(View(text_, l), &name) && (!section || SameName(name, *section)))
      return l.begin;
    pos = l.next > bracket ? l.next : bracket + 1;
  }
  return std::string::npos;
}

size_t ProfileFile::FindSection(const std::string& section) const {
  return NextSectionLine(0, &section);
}

size_t ProfileFile::FindKey(size_t sectionLine, const std::string& key) const {
  const size_t from = LineFrom(text_, sectionLine).next;
  size_t limit = NextSectionLine(from, nullptr);
  if (limit == std::string::npos) limit = text_.size();
  std::string_view name;
  for (size_t pos = from; pos < limit;) {
    const size_t eq = text_.find('=', pos);
    if (eq == std::string::npos || eq >= limit) break;
    const LineAt l = LineFrom(text_, std::max(LineStart(text_, eq), pos));
    if (KeyName(View(text_, l), &name) && SameName(name, key)) return l.begin;
    pos = l.next > eq ? l.next : eq + 1;
  }
  return std::string::npos;
}

size_t ProfileFile::FindKey(const std::string& section, const std::string& key) const {
  const size_t s = FindSection(section);
  return s == std::string::npos ? s : FindKey(s, key);
}

bool ProfileFile::HasKey(const std::string& section, const std::string& key) const {
  return FindKey(section, key) != std::string::npos;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const size_t i = FindKey(section, key);
  if (i == std::string::npos) return def;
  const std::string_view line = View(text_, LineFrom(text_, i));
  std::string_view v = Trim(line.substr(line.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return std::string(v);
}

int32_t ProfileFile::ReadInteger(const std::string& section, const std::string& key,
                                 int32_t def) const {
  int32_t v = def;
  return ParseInt32(ReadString(section, key, std::string()), &v) ? v : def;
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::string ProfileFile::NewLineEnd() const {
  // New lines follow the file's own line ends; a new file gets CR LF.
  const size_t e = text_.find_first_of("\r\n");
  if (e == std::string::npos) return "\r\n";
  if (text_[e] == '\n') return "\n";
  return e + 1 < text_.size() && text_[e + 1] == '\n' ? "\r\n" : "\r";
}

void ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  const std::string v = OneLine(value);
  const std::string end = NewLineEnd();
  const bool endless = !text_.empty() && text_.back() != '\n' && text_.back() != '\r';
  const size_t s = FindSection(section);
  if (s != std::string::npos) {
    const size_t k = FindKey(s, key);
    if (k != std::string::npos) {
      const LineAt l = LineFrom(text_, k);
      const size_t eq = text_.find('=', l.begin);
      text_.replace(eq + 1, l.end - eq - 1, v);
      return;
    }
    // After the section's last non-blank line, so that blank lines that
    // separate it from the next section stay where they are.
    const LineAt head = LineFrom(text_, s);
    size_t limit = NextSectionLine(head.next, nullptr);
    if (limit == std::string::npos) limit = text_.size();
    size_t q = limit;
    while (q > head.next && (IsBlank(text_[q - 1]) || text_[q - 1] == '\r' || text_[q - 1] == '\n'))
      --q;
    const LineAt last = q > head.next ? LineFrom(text_, LineStart(text_, q - 1)) : head;
    std::string add = OneLine(key) + "=" + v + end;
    if (last.next == last.end) add = end + add;  // the file's last line had no end
    text_.insert(last.next, add);
    return;
  }
  if (endless) text_ += end;
  text_ += "[" + OneLine(section) + "]" + end + OneLine(key) + "=" + v + end;
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::string ProfileFile::Text() const {
  return text_;
}

}  // namespace tavi
