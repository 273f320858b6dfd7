#include "platform/linux/wayland/DataControlDevice.h"

#include "platform/linux/wayland/WaylandConnection.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace driftmark {

DataControlDevice::DataControlDevice(WaylandConnection& connection, DataControlSelection selection)
    : connection_(connection)
    , selection_(selection) {
    static const zwlr_data_control_device_v1_listener listener = {
        .data_offer = &DataControlDevice::dataOffer,
        .selection = &DataControlDevice::clipboardChanged,
        .finished = &DataControlDevice::finished,
        .primary_selection = &DataControlDevice::primaryChanged,
    };
    if (connection_.dataControlManager() == nullptr || connection_.seat() == nullptr) {
        return;
    }
    device_ =
        zwlr_data_control_manager_v1_get_data_device(connection_.dataControlManager(), connection_.seat());
    zwlr_data_control_device_v1_add_listener(device_, &listener, this);
    // The compositor answers with the current selection.
    connection_.flush();
}

DataControlDevice::~DataControlDevice() {
    for (const auto& offer : offers_) {
        zwlr_data_control_offer_v1_destroy(offer.first);
    }
    if (device_ != nullptr) {
        zwlr_data_control_device_v1_destroy(device_);
        connection_.flush();
    }
}

std::vector<std::string> DataControlDevice::offeredTypes() const {
    const auto found = offers_.find(current_);
    return found != offers_.end() ? found->second : std::vector<std::string>{};
}

void DataControlDevice::setSelection(zwlr_data_control_source_v1* source) {
    if (device_ == nullptr) {
        return;
    }
    if (selection_ == DataControlSelection::primary) {
        zwlr_data_control_device_v1_set_primary_selection(device_, source);
    } else {
        zwlr_data_control_device_v1_set_selection(device_, source);
    }
}

// A new offer's types follow at once, before the event that says which selection it is.
void DataControlDevice::dataOffer(void* data, zwlr_data_control_device_v1*,
                                  zwlr_data_control_offer_v1* offer) {
    static const zwlr_data_control_offer_v1_listener listener = {
        .offer = &DataControlDevice::typeOffered,
    };
    auto* self = static_cast<DataControlDevice*>(data);
    self->offers_[offer];
    zwlr_data_control_offer_v1_add_listener(offer, &listener, self);
}

void DataControlDevice::typeOffered(void* data, zwlr_data_control_offer_v1* offer, const char* type) {
    auto* self = static_cast<DataControlDevice*>(data);
    const auto found = self->offers_.find(offer);
    if (found != self->offers_.end()) {
        found->second.emplace_back(type);
    }
}

void DataControlDevice::clipboardChanged(void* data, zwlr_data_control_device_v1*,
                                         zwlr_data_control_offer_v1* offer) {
    static_cast<DataControlDevice*>(data)->announced(DataControlSelection::clipboard, offer);
}

void DataControlDevice::primaryChanged(void* data, zwlr_data_control_device_v1*,
                                       zwlr_data_control_offer_v1* offer) {
    static_cast<DataControlDevice*>(data)->announced(DataControlSelection::primary, offer);
}

void DataControlDevice::announced(DataControlSelection selection, zwlr_data_control_offer_v1* offer) {
    if (selection != selection_) {
        if (offer != nullptr && offer != current_) {
            release(offer);
        }
        return;
    }
    if (current_ != nullptr && current_ != offer) {
        release(current_);
    }
    current_ = offer;
}

// The seat went away: there is nothing more to follow.
void DataControlDevice::finished(void* data, zwlr_data_control_device_v1*) {
    auto* self = static_cast<DataControlDevice*>(data);
    while (!self->offers_.empty()) {
        self->release(self->offers_.begin()->first);
    }
    self->current_ = nullptr;
    zwlr_data_control_device_v1_destroy(self->device_);
    self->device_ = nullptr;
}

void DataControlDevice::release(zwlr_data_control_offer_v1* offer) {
    zwlr_data_control_offer_v1_destroy(offer);
    offers_.erase(offer);
}

} // namespace driftmark
