#include "settings/LocalUrlInterceptor.h"

namespace driftmark {

QUrl LocalUrlInterceptor::intercept(const QUrl& url, DataType) {
    const QString scheme = url.scheme();
    if (url.isEmpty() || scheme == QLatin1String("qrc") || scheme == QLatin1String("file") ||
        scheme == QLatin1String("image") || scheme.isEmpty()) {
        return url;
    }
    return {};
}

} // namespace driftmark
