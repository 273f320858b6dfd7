#pragma once

#include <QIcon>
#include <string>

namespace driftmark {

// The desktop icon theme's icon for a symbol catalogue name such as "doc.on.doc"; a null icon for names
// without a counterpart or when the theme has none of the candidates.
QIcon symbolIcon(const std::string& symbolName);

} // namespace driftmark
