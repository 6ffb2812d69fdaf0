#include "navigator/update_rules.h"

#include "forms/values/double_compare.h"
#include "forms/values/replace_text.h"
#include "updater/updater_command.h"

namespace navigator {

bool isNewVersion(double announced) { return forms::doubleGreater(announced, kUpdateCheckVersion); }

forms::Text newVersionMessage(const UpdateOffer& offer) {
  return "发现有新的版本(" + offer.version + ")可以更新，本次更新了如下内容：\r\n" +
         forms::replaceText(offer.notes, "#HHF", "\r\n", 1, -1, true);
}

forms::Text updaterCommandLine(const forms::Text& runDirectory, const UpdateOffer& offer) {
  return updater::updaterCommandLine(
      runDirectory + "\\main_update\\update.exe",
      {offer.downloadUrl, offer.title, "Talvery.exe", offer.fileName, offer.notes});
}

}  // namespace navigator
