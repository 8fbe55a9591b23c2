#include "client/discovery.h"

#include <sys/stat.h>

#include <array>
#include <cstdlib>

#include "client/file_reader.h"
#include "client/paths.h"

namespace tavi {

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character a one-letter escape stands for (\n and friends); 0 when the
// letter is none of them.
char SimpleEscape(char e) {
  switch (e) {
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'v':
      return '\v';
    case 'e':
      return '\x1b';
    default:
      return 0;
  }
}

// UTF-16 code units as they come from escapes, written out as UTF-8: a high
// surrogate waits for its low one; a lone half becomes U+FFFD.
class Utf16Writer {
 public:
  explicit Utf16Writer(std::string* out) : out_(out) {}
  void Unit(uint32_t u) {
    if (u >= 0xD800 && u <= 0xDBFF) {
      high_ = u;
      return;
    }
    if (u >= 0xDC00 && u <= 0xDFFF && high_)
      AppendUtf8(*out_, 0x10000 + ((high_ - 0xD800) << 10) + (u - 0xDC00));
    else
      AppendUtf8(*out_, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    high_ = 0;
  }

 private:
  std::string* out_;
  uint32_t high_ = 0;
};

// Up to `most` digits of a base (8 or 16) from line[pos]; *count says how many.
uint32_t ReadDigits(const std::string& line, size_t& pos, int base, int most, int* count) {
  uint32_t v = 0;
  int n = 0;
  for (; n < most && pos < line.size(); ++n) {
    const int d = base == 16 ? HexDigit(line[pos])
                             : (line[pos] >= '0' && line[pos] <= '7' ? line[pos] - '0' : -1);
    if (d < 0) break;
    v = v * uint32_t(base) + uint32_t(d);
    ++pos;
  }
  *count = n;
  return v;
}

// One escape, the letter `e` read and line[pos] after it.
void ReadEscape(const std::string& line, size_t& pos, char e, Utf16Writer& units,
                std::string* out) {
  if (const char c = SimpleEscape(e)) {
    *out += c;
  } else if (e == 'x') {  // \xHHHH: a UTF-16 code unit; a bare \x stays an x
    int n = 0;
    const uint32_t v = ReadDigits(line, pos, 16, 4, &n);
    if (n == 0)
      *out += 'x';
    else
      units.Unit(v);
  } else if (e >= '0' && e <= '7') {  // octal, three digits at most
    --pos;
    int n = 0;
    units.Unit(ReadDigits(line, pos, 8, 3, &n));
  } else {
    *out += e;
  }
}

// Reads an escaped string of system.reg from line[pos] up to the unescaped
// `close` character; pos ends after it. False when the line ends first.
// Escapes: \\ \" \n and friends, \xHHHH (UTF-16 code units) and octal.
bool ReadEscaped(const std::string& line, size_t& pos, char close, std::string* out) {
  out->clear();
  Utf16Writer units(out);
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == close) return true;
    if (c != '\\') {
      *out += c;  // other bytes pass as they are
      continue;
    }
    if (pos >= line.size()) return false;
    const char e = line[pos++];
    ReadEscape(line, pos, e, units, out);
  }
  return false;
}

bool NamesSomething(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The five client file paths of the settings with their usual names.
std::array<std::pair<std::string*, const char*>, 5> ClientFileFields(ClientPaths& s) {
  return {{{&s.ArtIdx, "artidx.mul"},
           {&s.Art, "art.mul"},
           {&s.TileData, "tiledata.mul"},
           {&s.MultiIdx, "multi.idx"},
           {&s.Multi, "multi.mul"}}};
}

// A client file in `dir`, which may name it in any case (ArtIdx.mul); the
// usual name when the folder has none. art.mul and multi.mul give way to
// their container where the folder has the container but not the whole
// loose pair; where it has the pair, the loose files win, so that paths
// found before containers were read keep meaning what they meant.
std::string ClientFileIn(const std::string& dir, const char* name) {
  const std::string found = FindCaseInsensitive(dir, name);
  const std::string fileName = name;
  const char* index = fileName == "art.mul"     ? "artidx.mul"
                      : fileName == "multi.mul" ? "multi.idx"
                                                : nullptr;
  if (index && (found.empty() || FindCaseInsensitive(dir, index).empty())) {
    std::string packed =
        FindCaseInsensitive(dir, fileName == "art.mul" ? kArtContainerName : kMultiContainerName);
    if (!packed.empty()) return packed;
  }
  return found.empty() ? WithSlash(dir) + name : found;
}

// The 32-bit programs of a 64-bit prefix keep their keys in this view.
const char kWow64[] = "software\\wow6432node\\";

// Splits a key path on backslashes, dropping empty parts.
std::vector<std::string> SplitKey(const std::string& path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t next = path.find('\\', pos);
    if (next == std::string::npos) next = path.size();
    if (next > pos) parts.push_back(path.substr(pos, next - pos));
    pos = next + 1;
  }
  return parts;
}

std::string JoinKey(const std::vector<std::string>& parts, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += (i ? "\\" : "") + parts[i];
  return path;
}

// The line of `text` that starts at *pos, into `line` without its line end
// ("\n" or "\r\n"); *pos moves past it.
void TakeLine(const std::string& text, size_t* pos, std::string* line) {
  size_t end = text.find('\n', *pos);
  if (end == std::string::npos) end = text.size();
  line->assign(text, *pos, end - *pos);
  *pos = end + 1;
  if (!line->empty() && line->back() == '\r') line->pop_back();
}

// A value line of a key that holds a string: "name"="text", or @="text" for
// the key's default value (name ""). Plain strings and expandable strings
// (str(2):) are strings; other kinds (dword:, hex:, str(7): lists) and
// damaged lines give false.
bool ReadStringValue(const std::string& line, std::string* name, std::string* value) {
  size_t at = 1;
  if (line[0] == '@')
    name->clear();
  else if (line[0] != '"' || !ReadEscaped(line, at, '"', name))
    return false;
  if (at >= line.size() || line[at] != '=') return false;
  ++at;
  if (line.compare(at, 7, "str(2):") == 0) at += 7;
  if (at >= line.size() || line[at] != '"') return false;
  ++at;
  return ReadEscaped(line, at, '"', value);
}

}  // namespace

WineRegistry::WineRegistry(const std::string& text, const std::string& prefix) : prefix_(prefix) {
  Key* current = nullptr;
  size_t pos = 0;
  std::string line, name, value;
  while (pos < text.size()) {
    TakeLine(text, &pos, &line);
    if (line.empty()) continue;
    if (line[0] == '[') {
      size_t at = 1;
      current = ReadEscaped(line, at, ']', &name) ? &AddKey(name) : nullptr;
    } else if (current && ReadStringValue(line, &name, &value)) {
      current->values[Lower(name)] = value;
    }
  }
}

WineRegistry::Key& WineRegistry::AddKey(const std::string& path) {
  const std::vector<std::string> parts = SplitKey(path);
  Key* parent = &keys_[std::string()];
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string lower = Lower(JoinKey(parts, i + 1));
    auto found = keys_.find(lower);
    if (found == keys_.end()) {
      parent->subkeys.push_back(parts[i]);
      found = keys_.emplace(lower, Key()).first;
    }
    parent = &found->second;
  }
  return *parent;
}

const WineRegistry::Key* WineRegistry::Find(const std::string& path) const {
  const std::vector<std::string> parts = SplitKey(path);
  const std::string lower = Lower(JoinKey(parts, parts.size()));
  if (lower.rfind("software\\", 0) == 0 && lower.rfind(kWow64, 0) != 0) {
    auto wow = keys_.find(kWow64 + lower.substr(9));
    if (wow != keys_.end()) return &wow->second;
  }
  auto it = keys_.find(lower);
  return it == keys_.end() ? nullptr : &it->second;
}

bool WineRegistry::OpenKey(const std::string& path) const {
  return Find(path) != nullptr;
}

bool WineRegistry::ReadString(const std::string& path, const std::string& name,
                              std::string* value) const {
  const Key* key = Find(path);
  if (!key) return false;
  auto it = key->values.find(Lower(name));
  if (it == key->values.end()) return false;
  *value = it->second;
  return true;
}

std::vector<std::string> WineRegistry::SubkeyNames(const std::string& path) const {
  const Key* key = Find(path);
  return key ? key->subkeys : std::vector<std::string>();
}

std::string WineRegistry::LocalPath(const std::string& windowsPath) const {
  return WindowsToPrefixPath(prefix_, windowsPath);
}

std::string WineRegistry::DefaultPrefix() {
  if (const char* p = std::getenv("WINEPREFIX"); p && p[0]) return p;
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : "") + "/.wine";
}

std::unique_ptr<WineRegistry> WineRegistry::Load(const std::string& prefix) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(WithSlash(prefix) + "system.reg", kMaxFileSize, &bytes)) return nullptr;
  return std::make_unique<WineRegistry>(std::string(bytes.begin(), bytes.end()), prefix);
}

namespace {

// The folder a drive letter stands for in a prefix: C: is its drive_c, unless
// only dosdevices/c: is there; other drives go through dosdevices; "" when
// the drive is not there.
std::string DriveFolder(const std::string& top, char drive) {
  const std::string driveC = top + "drive_c";
  const std::string device = top + "dosdevices/" + drive + ":";
  if (drive == 'c') return IsFolder(driveC) || !IsFolder(device) ? driveC : device;
  return IsFolder(device) ? device : std::string();
}

// The parts of `rest` ('/'-separated) below `base`: parts that exist are
// matched ignoring case, the rest is kept as written; "." is skipped and ".."
// never leaves `base`, as on Windows it never leaves the drive.
std::string ResolveBelow(const std::string& base, const std::string& rest) {
  std::string path = base;
  size_t pos = 0;
  bool resolving = true;
  while (pos < rest.size()) {
    size_t next = rest.find('/', pos);
    if (next == std::string::npos) next = rest.size();
    const std::string part = rest.substr(pos, next - pos);
    pos = next + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (path.size() > base.size()) path.erase(path.rfind('/'));
      continue;
    }
    std::string found = resolving ? FindCaseInsensitive(path, part) : std::string();
    resolving = !found.empty();
    path = resolving ? found : path + "/" + part;
  }
  return path;
}

}  // namespace

std::string WindowsToPrefixPath(const std::string& prefix, const std::string& windowsPath) {
  std::string rest = windowsPath;
  for (char& c : rest)
    if (c == '\\') c = '/';
  if (rest.rfind("//", 0) == 0) return std::string();  // a network share
  std::string base;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    base = DriveFolder(WithSlash(prefix), char(Lower(rest.substr(0, 1))[0]));
    if (base.empty()) return std::string();
    rest = rest.substr(2);
  } else {
    // A path without a drive is taken relative to the prefix's C: drive.
    base = WithSlash(prefix) + "drive_c";
  }
  const bool folder = !rest.empty() && rest.back() == '/';
  const std::string path = ResolveBelow(base, rest);
  return folder || path == base ? WithSlash(path) : path;
}

std::vector<std::string> UsualClientFolders(const std::string& winePrefix,
                                            const std::string& home) {
  std::vector<std::string> prefixes;
  if (!winePrefix.empty()) prefixes.push_back(winePrefix);
  if (!home.empty() && WithSlash(home) + ".wine" != winePrefix)
    prefixes.push_back(WithSlash(home) + ".wine");
  static const char* const kProgramFolders[] = {"Program Files (x86)", "Program Files"};
  static const char* const kClientFolders[] = {"Electronic Arts/Ultima Online Classic",
                                               "EA Games/Ultima Online Classic",
                                               "Ultima Online Classic", "Ultima Online"};
  std::vector<std::string> found;
  for (const std::string& prefix : prefixes)
    for (const char* programs : kProgramFolders)
      for (const char* client : kClientFolders) {
        const std::string dir = ResolveCaseInsensitive(WithSlash(prefix) + "drive_c",
                                                       std::string(programs) + "/" + client);
        if (!dir.empty() && IsFolder(dir)) found.push_back(WithSlash(dir));
      }
  return found;
}

namespace {

// The client's Windows folder from the install path of its own keys: true
// when one of the keys is there, even if it names no folder.
bool FolderFromClientKeys(const IRegistry& registry, std::string* windowsDir) {
  static const char* const kClientKeys[] = {
      "Software\\Origin Worlds Online\\Ultima Online\\1.0",
      "Software\\Origin Worlds Online\\Ultima Online Third Dawn\\1.0"};
  for (const char* key : kClientKeys) {
    if (!registry.OpenKey(key)) continue;
    std::string exe;
    registry.ReadString(key, "StartExePath", &exe);
    const size_t cut = exe.find_last_of("\\:");
    if (cut != std::string::npos) *windowsDir = exe.substr(0, cut + 1);
    return true;
  }
  return false;
}

// The client's Windows folder from its publisher's keys: the install folder
// of the first of them that names the game; "" when there is none.
std::string FolderFromPublisherKeys(const IRegistry& registry) {
  const char* const kEaGames = "Software\\Electronic Arts\\EA Games";
  if (!registry.OpenKey(kEaGames)) return std::string();
  for (const std::string& name : registry.SubkeyNames(kEaGames)) {
    if (name.find("Ultima Online") == std::string::npos) continue;
    std::string install;
    registry.ReadString(std::string(kEaGames) + "\\" + name, "InstallDir", &install);
    // An empty InstallDir names no folder (not the drive's root).
    return install.empty() ? std::string() : install + "\\";
  }
  return std::string();
}

// The client folder the registry names, as a local path; "" when it names
// none.
std::string ClientFolderInRegistry(const IRegistry& registry) {
  std::string windowsDir;
  if (!FolderFromClientKeys(registry, &windowsDir)) windowsDir = FolderFromPublisherKeys(registry);
  return windowsDir.empty() ? std::string() : WithSlash(registry.LocalPath(windowsDir));
}

// The first of the usual folders that holds a tiledata.mul; "" when none does.
std::string FirstFolderWithTileData(const std::vector<std::string>& usualFolders) {
  for (const std::string& folder : usualFolders)
    if (!folder.empty() && !FindCaseInsensitive(folder, "tiledata.mul").empty())
      return WithSlash(folder);
  return std::string();
}

}  // namespace

void DiscoverClient(ClientPaths& s, const IRegistry* registry,
                    const std::vector<std::string>& usualFolders) {
  s.ClientDir = registry ? ClientFolderInRegistry(*registry) : std::string();
  if (s.ClientDir.empty()) s.ClientDir = FirstFolderWithTileData(usualFolders);
  for (const auto& [path, name] : ClientFileFields(s)) {
    // A path that names nothing (left by an earlier start that found no
    // client, or a client since moved) is completed like an empty one.
    if (!path->empty() && NamesSomething(*path)) continue;
    *path = s.ClientDir.empty() ? std::string(name) : ClientFileIn(s.ClientDir, name);
  }
}

void UseClientFolder(ClientPaths& s, const std::string& dir) {
  s.ClientDir = WithSlash(dir);
  for (const auto& [path, name] : ClientFileFields(s)) *path = ClientFileIn(s.ClientDir, name);
}

void CompleteFromArtFolder(ClientPaths& s) {
  std::string dir;
  for (const std::string* path : {&s.Art, &s.ArtIdx, &s.TileData}) {
    struct stat st {};
    if (path->empty() || ::stat(path->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const size_t slash = path->find_last_of('/');
    dir = slash == std::string::npos ? std::string("./") : path->substr(0, slash + 1);
    break;
  }
  if (dir.empty()) return;
  if (s.ClientDir.empty() || !IsFolder(s.ClientDir)) s.ClientDir = WithSlash(dir);
  const bool idxMissing = s.MultiIdx.empty() || !NamesSomething(s.MultiIdx);
  const bool mulMissing = s.Multi.empty() || !NamesSomething(s.Multi);
  if (idxMissing) s.MultiIdx = ClientFileIn(dir, "multi.idx");
  if (mulMissing) s.Multi = ClientFileIn(dir, "multi.mul");
}

void DiscoverClientHere(ClientPaths& s) {
  const std::unique_ptr<WineRegistry> registry = WineRegistry::Load(WineRegistry::DefaultPrefix());
  const char* home = std::getenv("HOME");
  const char* winePrefix = std::getenv("WINEPREFIX");
  DiscoverClient(s, registry.get(),
                 UsualClientFolders(winePrefix ? winePrefix : "", home ? home : ""));
}

}  // namespace tavi
