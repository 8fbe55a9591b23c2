#pragma once
// A profile (INI) text file read and written in place: a value is replaced on
// its own line and every other line (comments, other sections, unknown keys,
// odd lines) stays byte for byte, with the line ends it had. Section and key
// names compare without regard to ASCII case; the first section and the first
// key of a name are the ones read and written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tavi {

class ProfileFile {
 public:
  // Files larger than this are not taken in (and so never overwritten).
  static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;

  ProfileFile() = default;
  // The text of a profile file, as read from disk.
  explicit ProfileFile(std::string text) : text_(std::move(text)) {}

  // Reads a file. A missing file gives an empty profile and true; false when
  // the file exists but cannot be read or is too large.
  bool Load(const std::string& path, std::string* error = nullptr);
  // Replaces the file with the whole text (WriteFileAtomically); a failure
  // leaves the old file as it was.
  bool Save(const std::string& path, std::string* error = nullptr) const;

  bool HasKey(const std::string& section, const std::string& key) const;
  // The value, without surrounding blanks and one pair of enclosing quotes.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // A decimal integer in int32 range; anything else gives `def`.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;

  // Replaces the key's value in place, or adds the key at the end of its
  // section, or the section at the end of the file. Line breaks in the value
  // are cut off, so a value can never add lines.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  std::string Text() const;

 private:
  // The file's text is kept as it is, and every look-up walks it: a file of
  // millions of lines costs its own size in memory, not a string per line.
  // Offsets of a line's start; npos when there is none.
  size_t FindSection(const std::string& section) const;
  // The first section line at or after `from` (named `section`, when given).
  size_t NextSectionLine(size_t from, const std::string* section) const;
  size_t FindKey(size_t sectionLine, const std::string& key) const;
  size_t FindKey(const std::string& section, const std::string& key) const;
  std::string NewLineEnd() const;

  std::string text_;
};

// Parses a decimal int32 (blanks around it allowed); false for anything else.
bool ParseInt32(const std::string& text, int32_t* value);

}  // namespace tavi
