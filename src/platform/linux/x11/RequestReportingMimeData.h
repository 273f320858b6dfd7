#pragma once

#include "platform/linux/TextReadNotice.h"

#include <QMimeData>

namespace driftmark {

// Contents that Driftmark publishes on an X11 selection through Qt. Qt asks them for a type's bytes each
// time another program requests that type, so they can say when a program pastes them.
class RequestReportingMimeData final : public QMimeData {
public:
    explicit RequestReportingMimeData(TextReadNotice::RequestListener requested);

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TextReadNotice::RequestListener requested_;
};

} // namespace driftmark
