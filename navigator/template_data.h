#pragma once
// What the runtime needs from the build to start the navigator: the handler table that
// resolves the templates' bindings, and the compiled window templates.
#include <vector>

#include "forms/core/text.h"
#include "forms/win/runtime.h"

namespace navigator {

const std::vector<forms::HandlerEntry>& handlerTable();
const forms::ByteSet& templateSegment();

}  // namespace navigator
