#include "platform/linux/tray/SymbolIcons.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <string_view>

namespace driftmark {

namespace {

struct SymbolMapping {
    std::string_view symbol;
    // Freedesktop icon names, tried in order; a theme's symbolic variant of each comes first.
    std::array<std::string_view, 2> themeNames;
};

constexpr std::array<SymbolMapping, 19> mappings = {{
    {"doc.on.doc", {"edit-copy", ""}},
    {"doc.on.doc.fill", {"edit-copy", ""}},
    {"doc.on.clipboard", {"edit-paste", ""}},
    {"pencil", {"document-edit", "accessories-text-editor"}},
    {"gear", {"preferences-system", "emblem-system"}},
    {"gearshape", {"emblem-system", "preferences-system"}},
    {"info.circle", {"help-about", "dialog-information"}},
    {"power", {"system-shutdown", "application-exit"}},
    {"plus.circle", {"list-add", ""}},
    {"minus.circle", {"list-remove", ""}},
    {"arrow.counterclockwise", {"edit-undo", ""}},
    {"exclamationmark.triangle.fill", {"dialog-warning", ""}},
    {"checkmark.circle.fill", {"emblem-ok", "object-select"}},
    {"checkmark", {"object-select", ""}},
    {"xmark.circle.fill", {"edit-clear", ""}},
    {"doc.text", {"text-x-generic", ""}},
    {"command.square", {"input-keyboard", ""}},
    {"command", {"input-keyboard", ""}},
    {"paintpalette", {"applications-graphics", ""}},
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

QIcon themeIcon(const std::string& symbolName, const QString& suffix) {
    useSystemDefaultThemeOutsideDesktops();
    for (const auto& mapping : mappings) {
        if (mapping.symbol != symbolName) {
            continue;
        }
        for (const std::string_view themeName : mapping.themeNames) {
            if (const QString name = toQString(themeName) + suffix;
                !themeName.empty() && QIcon::hasThemeIcon(name)) {
                return QIcon::fromTheme(name);
            }
        }
    }
    // Drawings of our own for the names the theme lacks.
    const QString drawing =
        QStringLiteral(":/symbols/") + QString::fromStdString(symbolName) + QStringLiteral(".svg");
    return QFileInfo::exists(drawing) ? QIcon(drawing) : QIcon();
}

} // namespace

QIcon symbolIcon(const std::string& symbolName) {
    return themeIcon(symbolName, QString());
}

QIcon monochromeSymbolIcon(const std::string& symbolName) {
    return themeIcon(symbolName, QStringLiteral("-symbolic"));
}

QString symbolThemeIconName(const std::string& symbolName) {
    useSystemDefaultThemeOutsideDesktops();
    const auto mapping = std::ranges::find(mappings, symbolName, &SymbolMapping::symbol);
    if (mapping == mappings.end()) {
        return {};
    }
    for (const std::string_view themeName : mapping->themeNames) {
        if (!themeName.empty() && QIcon::hasThemeIcon(toQString(themeName))) {
            return toQString(themeName);
        }
    }
    return toQString(mapping->themeNames.front());
}

} // namespace driftmark
