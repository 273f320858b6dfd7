#pragma once

#include <string>
#include <string_view>

namespace driftmark {

// The log's function field for a compiler-reported signature: the function's unqualified name and
// "()", e.g. "void driftmark::MenuItemManager::migrateFromOldFormat()" gives "migrateFromOldFormat()".
// A lambda is named after the function that encloses it. A text without a parameter list is returned
// as it is.
std::string functionLabel(std::string_view signature);

} // namespace driftmark
