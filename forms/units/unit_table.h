#pragma once
// Every unit type of the forms, for startRuntime.
#include "forms/runtime/unit.h"

namespace forms {

const UnitTable& unitTable();

}  // namespace forms
