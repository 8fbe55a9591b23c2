#pragma once
// Texts of the first-start help, the recent files, the whole-house picture
// and the other conveniences, with the tooltips of the tool windows and the
// status-bar hints of the menu items, in the three user-interface languages.
// ApplyLanguage sets the original captions; ApplyUiTexts sets these.
#include <QString>

#include "app/languages.h"

namespace tavi {

struct UiTexts {
  QString AllFilesFound;    // the configuration dialog's line under the paths
  QString FilesMissing;     // %1: the files, comma separated
  QString EntriesOutside;   // %1: the number of entries
  QString MultiOpenFailed;  // %1: the file tried
  QString NoCacheFound;     // %1: the folder looked in
  QString NoClientFolder;   // the cache import has no client folder at all
  QString RecentMissing;    // %1: the file chosen
  QString NoClientStart;    // under the start message, in the user's language
  QString Working;          // the progress dialog's text
  QString ChooseClientFolder;
  QString DemoInUse;  // %1: the demo client's folder
};

const UiTexts& UiTextsFor(int language);

// Captions of the controls and menu items added to the original windows,
// the tooltips and the status-bar hints, in `language`.
void ApplyUiTexts(int language, const LanguageWindows& windows);

// The tooltip or status-bar hint of a control (tests); empty when none.
QString ToolTipFor(int language, const char* window, const char* control);
QString StatusTipFor(int language, const char* action);

}  // namespace tavi
