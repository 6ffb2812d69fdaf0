#pragma once
// The navigator's globals, from the program entry to the end-of-program routine.
#include <cstdint>
#include <memory>

#include "forms/xml/xml_document.h"

namespace navigator {

// Shared by the update check and the popup poll; each load replaces what it held.
extern std::unique_ptr<forms::XmlDocument> xmlDocument;

// The popup's rest at the top and its hidden pause after a close, set when it is created.
extern std::int32_t popupPauseMs;

void initGlobals();
void releaseGlobals();

// The path of the element that both server files keep their values in.
inline constexpr char kVersionInfoPath[] = "最新版本/版本信息";

}  // namespace navigator
