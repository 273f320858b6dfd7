#include "model/ClipboardTextItem.h"

#include "model/JsonFields.h"
#include "support/JsonLimits.h"

namespace driftmark {

namespace {

// The same bound as for the entry list that replaced it.
constexpr JsonLimits recordLimits(64 * 1024 * 1024);

} // namespace

std::optional<std::vector<ClipboardTextItem>> decodeClipboardTextItems(const Bytes& bytes) {
    const nlohmann::json document = recordLimits.read(bytes).value;
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
