#pragma once

#include <QIcon>
#include <string>

namespace driftmark {

// The desktop icon theme's icon for a symbol name such as "doc.on.doc", or Driftmark's own drawing of it
// when the theme has none; a null icon for names Driftmark does not know.
QIcon symbolIcon(const std::string& symbolName);
// The same from the theme's single-colour (symbolic) icons, for views that tint their symbols.
QIcon monochromeSymbolIcon(const std::string& symbolName);
// The freedesktop icon name that stands for a symbol, for hosts that look icons up in their own theme:
// the first of its names that this desktop's theme has, else the first of them; empty for symbols that
// no theme name stands for.
QString symbolThemeIconName(const std::string& symbolName);

} // namespace driftmark
