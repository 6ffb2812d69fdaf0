#pragma once
// The units on the system's standard controls: Button and EditBox.
#include <initializer_list>

#include "forms/runtime/unit.h"

namespace forms {

std::unique_ptr<UnitControl> makeButtonUnit(const UnitPlan& plan, UnitSite& site);
std::unique_ptr<UnitControl> makeEditBoxUnit(const UnitPlan& plan, UnitSite& site);

// Appends each text at the end of an edit box; from another thread it waits until the
// window thread has done it.
void appendEditText(UnitRef editBox, std::initializer_list<Text> texts);
inline void appendEditText(UnitRef editBox, const Text& text) { appendEditText(editBox, {text}); }

}  // namespace forms
