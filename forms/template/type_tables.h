#pragma once
// The one table per unit type that the block decoder, the block writer and the template
// compiler all walk.
#include <cstdint>
#include <optional>

#include "forms/template/model.h"

namespace forms::tpl {

const TypeLayout& typeLayout(UnitKind type);
// The type of a stored unitType code of either program; none for an unknown code.
std::optional<UnitKind> typeOfCode(std::uint32_t code);
// By the name the sources use (`Label`); none when unknown.
std::optional<UnitKind> typeOfName(const char* name);
// Index of a field in the type's table by its source name; -1 when unknown.
int fieldIndex(const TypeLayout& plan, const char* name);

}  // namespace forms::tpl
