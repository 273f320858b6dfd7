#pragma once

#include <QQmlAbstractUrlInterceptor>
#include <QUrl>

namespace driftmark {

// Keeps the views to what Driftmark ships and draws: its own resources, files and image providers. A URL of
// any other kind, such as one that an entry's text smuggles into a view, is never fetched: a shared
// preferences file must not be able to make the window report to a server.
class LocalUrlInterceptor final : public QQmlAbstractUrlInterceptor {
public:
    QUrl intercept(const QUrl& url, DataType type) override;
};

} // namespace driftmark
