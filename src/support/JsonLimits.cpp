#include "support/JsonLimits.h"

namespace driftmark {

namespace {

using nlohmann::json;

// Builds the value as nlohmann's own parser does (a repeated key keeps its last value), and ends the
// parse at the first container that would open beyond the maximum depth.
class DepthLimitedBuilder final : public nlohmann::json_sax<json> {
public:
    explicit DepthLimitedBuilder(std::size_t maximumDepth)
        : maximumDepth_(maximumDepth) {}

    bool null() override { return add(json(nullptr)); }
    bool boolean(bool value) override { return add(json(value)); }
    bool number_integer(number_integer_t value) override { return add(json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return add(json(value)); }
    bool number_float(number_float_t value, const string_t&) override { return add(json(value)); }
    bool string(string_t& value) override { return add(json(std::move(value))); }
    // JSON text has no binary values; the interface asks for the handler all the same.
    bool binary(binary_t& value) override { return add(json::binary(std::move(value))); }
    bool start_object(std::size_t) override { return open(json::object()); }
    bool key(string_t& value) override {
        key_ = std::move(value);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string&, const json::exception&) override { return false; }

    json& result() { return root_; }
    bool tooDeep() const { return tooDeep_; }

private:
    bool add(json value) {
        place(std::move(value));
        return true;
    }

    // Where the value went: the open array's last element, the open object's member, or the root.
    json* place(json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return &root_;
        }
        json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        json& member = parent[key_];
        member = std::move(value);
        return &member;
    }

    bool open(json container) {
        if (open_.size() >= maximumDepth_) {
            tooDeep_ = true;
            return false;
        }
        // The parent takes no other value until this one closes, so the pointer stays valid.
        open_.push_back(place(std::move(container)));
        return true;
    }

    bool close() {
        open_.pop_back();
        return true;
    }

    std::size_t maximumDepth_;
    json root_;
    std::vector<json*> open_;
    string_t key_;
    bool tooDeep_ = false;
};

} // namespace

JsonLimits::Reading JsonLimits::read(std::string_view text) const {
    if (text.size() > maximumBytes_) {
        return {json(json::value_t::discarded), "is longer than " + std::to_string(maximumBytes_) + " bytes"};
    }
    DepthLimitedBuilder builder(maximumDepth_);
    if (json::sax_parse(text, &builder)) {
        return {std::move(builder.result()), {}};
    }
    return {json(json::value_t::discarded),
            builder.tooDeep() ? "nests deeper than " + std::to_string(maximumDepth_) + " levels"
                              : std::string()};
}

JsonLimits::Reading JsonLimits::read(const std::vector<std::uint8_t>& bytes) const {
    return read(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace driftmark
