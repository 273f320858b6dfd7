#include "model/ClipboardTextItem.h"

#include "model/JsonFields.h"

namespace driftmark {

std::optional<std::vector<ClipboardTextItem>> decodeClipboardTextItems(const Bytes& bytes) {
    const auto document = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (!document.is_array()) {
        return std::nullopt;
    }
    try {
        using namespace json_fields;
        std::vector<ClipboardTextItem> records;
        records.reserve(document.size());
        for (const auto& element : document) {
            const auto& record = object(element);
            records.push_back(ClipboardTextItem{requiredUuid(record, "id"), requiredString(record, "text"),
                                                requiredBool(record, "isActive"),
                                                requiredNumber(record, "createdAt")});
        }
        return records;
    } catch (const json_fields::DecodingError&) {
        return std::nullopt;
    }
}

} // namespace driftmark
