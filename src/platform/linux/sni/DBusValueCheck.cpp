#include "platform/linux/sni/DBusValueCheck.h"

#include "platform/OutsideText.h"

#include <QDBusMetaType>
#include <set>
#include <utility>

namespace driftmark {

namespace {

struct Reports {
    std::function<void(const std::string&)> listener;
    std::set<std::string> made; // the kinds of value reported
};

Reports& reports() {
    static Reports instance;
    return instance;
}

} // namespace

void DBusValueCheck::setListener(std::function<void(const std::string&)> listener) {
    reports() = Reports{std::move(listener), {}};
}

bool DBusValueCheck::readable(const QDBusArgument& argument, const char* signature, const char* what) {
    const QString found = argument.currentSignature();
    if (found == QLatin1String(signature)) {
        return true;
    }
    if (!argument.atEnd()) {
        static_cast<void>(argument.asVariant());
    }
    report(what, found, signature);
    return false;
}

bool DBusValueCheck::readable(const QVariant& value, const char* signature, const char* what) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
        return readable(value.value<QDBusArgument>(), signature, what);
    }
    const char* found = QDBusMetaType::typeToSignature(value.metaType());
    if (found != nullptr && qstrcmp(found, signature) == 0) {
        return true;
    }
    report(what, QLatin1String(found != nullptr ? found : ""), signature);
    return false;
}

void DBusValueCheck::report(const char* what, const QString& found, const char* signature) {
    Reports& current = reports();
    if (!current.listener || !current.made.insert(what).second) {
        return;
    }
    current.listener("Another program sent a " + std::string(what) + " of D-Bus type \"" +
                     OutsideText::excerpt(found.toStdString()) + "\" instead of \"" + signature +
                     "\"; it is ignored");
}

} // namespace driftmark
