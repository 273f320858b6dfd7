#include "platform/linux/SymbolIcons.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <string_view>

namespace driftmark {

namespace {

struct SymbolMapping {
    std::string_view symbol;
    std::string_view themeName;
    std::string_view fallback; // for themes without the first name; may be empty
};

constexpr std::array<SymbolMapping, 6> mappings = {{
    {"doc.on.doc", "edit-copy", ""},
    {"doc.on.clipboard", "edit-paste", ""},
    {"pencil", "document-edit", "accessories-text-editor"},
    {"gear", "preferences-system", ""},
    {"info.circle", "help-about", ""},
    {"power", "application-exit", ""},
}};

QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Outside a desktop session that Qt recognises it looks only in "hicolor", which has none of these icons.
// The system's default theme ("default", which inherits the distribution's theme) stands for the
// desktop's choice then.
void useSystemDefaultThemeOutsideDesktops() {
    static const bool checked = [] {
        const QString defaultTheme = QStringLiteral("default");
        const auto hasDefaultTheme = [&](const QString& path) {
            return QFileInfo::exists(path + QLatin1Char('/') + defaultTheme + QStringLiteral("/index.theme"));
        };
        if (QIcon::themeName() == QStringLiteral("hicolor") &&
            std::ranges::any_of(QIcon::themeSearchPaths(), hasDefaultTheme)) {
            QIcon::setThemeName(defaultTheme);
        }
        return true;
    }();
    static_cast<void>(checked);
}

} // namespace

QIcon symbolIcon(const std::string& symbolName) {
    useSystemDefaultThemeOutsideDesktops();
    for (const auto& mapping : mappings) {
        if (mapping.symbol != symbolName) {
            continue;
        }
        if (const QString name = toQString(mapping.themeName); QIcon::hasThemeIcon(name)) {
            return QIcon::fromTheme(name);
        }
        return mapping.fallback.empty() ? QIcon() : QIcon::fromTheme(toQString(mapping.fallback));
    }
    return {};
}

} // namespace driftmark
