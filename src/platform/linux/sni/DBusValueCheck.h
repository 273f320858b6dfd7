#pragma once

#include <QDBusArgument>
#include <QVariant>
#include <functional>
#include <string>

namespace driftmark {

// Values other programs send over D-Bus are read only when they have the type they should: libdbus
// aborts the process when a reader steps into a value of another type. A value of the wrong type is
// passed over, as if absent, and reported once for each kind of value. The readers run inside QtDBus,
// which gives them no way to pass a problem on, so the reports go to one listener for the process.
class DBusValueCheck {
public:
    // Where reports go from now on (nowhere when empty); each kind is reported again after this.
    static void setListener(std::function<void(const std::string&)> listener);

    // Whether the argument's current value has the D-Bus type `signature`. If not, the value is skipped,
    // so that a reader of a list goes on with the next one, and reported as a wrong `what`.
    static bool readable(const QDBusArgument& argument, const char* signature, const char* what);
    // The same for a value that came as a variant; it holds a QDBusArgument when it is of a compound type.
    static bool readable(const QVariant& value, const char* signature, const char* what);

private:
    static void report(const char* what, const QString& found, const char* signature);
};

} // namespace driftmark
