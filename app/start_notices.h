#pragma once
// What the editor says once at start about the files it could not use: the
// settings folder, tavi.ini and the catalogue's page files. Each is left as
// it was; the message says so in the user's language.
#include <QString>
#include <string>
#include <vector>

#include "settings/catalogue_pages.h"

namespace tavi {

struct StartNotices {
  std::string settingsFolder;  // why no settings folder can be used ("" when one can)
  std::string settingsFile;    // why tavi.ini could not be read ("" when it could)
  std::vector<UnreadPageFile> pageFiles;
  std::string tileData;   // what is wrong with a tiledata.mul that loaded all the same
  size_t artSkipped = 0;  // art container entries of a compression not read
  bool Empty() const {
    return settingsFolder.empty() && settingsFile.empty() && pageFiles.empty() &&
           tileData.empty() && artSkipped == 0;
  }
};

// One paragraph per problem, in `language`; empty when there is nothing to say.
QString StartNoticeText(int language, const StartNotices& notices);

}  // namespace tavi
