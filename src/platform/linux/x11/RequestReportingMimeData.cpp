#include "platform/linux/x11/RequestReportingMimeData.h"

#include <utility>

namespace driftmark {

RequestReportingMimeData::RequestReportingMimeData(TextReadNotice::RequestListener requested)
    : requested_(std::move(requested)) {}

QVariant RequestReportingMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    requested_(mimeType.toStdString());
    return QMimeData::retrieveData(mimeType, type);
}

} // namespace driftmark
