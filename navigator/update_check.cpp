// The update check behind "检查更新": the descriptor, the decision, the hand-over.
#include "forms/values/to_number.h"
#include "forms/net/http_read.h"
#include "forms/system/system_ops.h"
#include "navigator/addresses.h"
#include "navigator/globals.h"
#include "navigator/handlers.h"
#include "navigator/update_rules.h"

namespace navigator {
namespace {

forms::Text descriptorValue(const char* attribute) {
  return forms::xmlGetAttribute(*xmlDocument, kVersionInfoPath, attribute);
}

}  // namespace

forms::HandlerResult checkForUpdate(const forms::Event&) {
  // A failed read or parse leaves the document empty: the version reads as 0.
  forms::xmlLoad(*xmlDocument, forms::httpReadFile(address::kUpdateDescriptor));
  if (!isNewVersion(forms::toDouble(descriptorValue("版本号")))) {
    forms::messageBox(forms::Text("已经是最新版本。"), forms::message_box::kOk);
    return std::nullopt;
  }
  // Read everything now: the popup poll may reload the document while the box is open.
  const UpdateOffer offer{descriptorValue("版本号"), descriptorValue("升级说明"),
                          descriptorValue("下载地址"), descriptorValue("文件标题"),
                          descriptorValue("文件名")};
  forms::messageBox(newVersionMessage(offer), forms::message_box::kIconInformation);
  forms::runProgram(updaterCommandLine(forms::getRunDirectory(), offer), false);
  forms::endProgram(0);
}

}  // namespace navigator
