#pragma once
// The object catalogue's pages: named lists of item ids kept in two text
// files, book_sys.ini (the pages that came with the program, and those named
// like them) and bookmark.ini (the user's own). A page header line is "[name]",
// a code line "$" with at least four upper-case hex digits, and an empty line
// closes each page.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavi {

constexpr int kMaxPageCodes = 16384;

struct CataloguePage {
  std::string Name;
  std::vector<uint16_t> Codes;  // at most kMaxPageCodes
  int Count() const { return int(Codes.size()); }
};

// What AddCode did: how many copies the page held already (one message each)
// and whether the code was stored (false only on a full page).
// A page file that is there but could not be read whole: its name and why.
struct UnreadPageFile {
  std::string path;
  std::string reason;
};

struct AddCodeResult {
  int duplicates = 0;
  bool added = false;
};

class CataloguePages {
 public:
  std::vector<CataloguePage> Pages;
  // Tab names right after book_sys.ini was read ("Main", the migrated
  // "Bookmark" page, the pages of book_sys.ini): a page named like one of
  // them is written to book_sys.ini.
  std::vector<std::string> SystemPageNames;
  // The lower-cased text of the last Find.
  std::string FindText;
  // The page files that Load found but could not read whole (unreadable, a
  // FIFO or a folder at the name, over the size cap). Their pages are those
  // that could be read, and Save leaves such a file as it was.
  std::vector<UnreadPageFile> Unread;

  // Appends an empty page; returns its position.
  int AddPage(const std::string& name);
  // Reads one page file's text into Pages. `current` is the page that code
  // lines go to (-1: none) and carries over from one file to the next.
  void ReadText(const std::string& text, int* current);
  // The text of every page whose name is (or is not) in SystemPageNames.
  std::string PageFileText(bool systemPages) const;

  // The start-up sequence: legacy bookmark codes (if any) become a page
  // "Bookmark", then book_sys.ini, the system names, then bookmark.ini. A
  // missing file (or an empty folder name) gives no pages. `legacyCount` is set
  // to 0 after migration.
  void Load(const std::string& folder, int32_t* legacyCount, const uint16_t* legacyCodes,
            int legacyCapacity);
  // Rewrites both files whole, except one that Load could not read whole.
  // False (with `error`) when one cannot be written.
  bool Save(const std::string& folder, std::string* error = nullptr) const;

  AddCodeResult AddCode(int page, uint16_t code);
  // Removes the code at `index`; false when the page has no code there.
  bool RemoveCode(int page, int index);
  void RenamePage(int page, const std::string& name);
  void DeletePage(int page);

  static constexpr const char* kSystemFile = "book_sys.ini";
  static constexpr const char* kUserFile = "bookmark.ini";
};

// One code line's value: decimal, "$" hex or "0x" hex, optionally signed.
// False for text that is not a number, out of int32 range, or negative.
bool ParsePageCode(const std::string& line, uint16_t* code);
// "$%.4X".
std::string FormatPageCode(uint16_t code);

// Lower-cases search text the way names are typed: ASCII and Latin-1 letters.
std::string LowerSearchText(const std::string& text);
// Searches the names from the cell after `start` round to the one before it;
// the start cell itself is never tested. `nameAt(i)` gives the stored name of
// entry i (case-sensitive match). Returns the index found or -1.
int FindNextName(const std::string& lowerText, int start, int count,
                 const std::function<std::string(int)>& nameAt);

}  // namespace tavi
