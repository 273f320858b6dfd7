#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct zwlr_data_control_device_v1;
struct zwlr_data_control_offer_v1;
struct zwlr_data_control_source_v1;

namespace driftmark {

class WaylandConnection;

// The seat's two selections: the clipboard, and the primary selection (the one that selecting text sets
// and a middle click pastes; since data-control version 2).
enum class DataControlSelection { clipboard, primary };

// Follows one selection of the compositor's first seat: each new selection comes as an offer with the
// types it can be read as, which this keeps until the next one replaces it. Offers for the other
// selection are let go at once.
class DataControlDevice final {
public:
    DataControlDevice(WaylandConnection& connection, DataControlSelection selection);
    ~DataControlDevice();
    DataControlDevice(const DataControlDevice&) = delete;
    DataControlDevice& operator=(const DataControlDevice&) = delete;

    // Whether the seat's selection can be followed and set: not once the seat has gone.
    bool available() const { return device_ != nullptr; }
    // The selection as last announced: null while nobody holds it.
    zwlr_data_control_offer_v1* offer() const { return current_; }
    // The types the current offer was announced with, in their order.
    std::vector<std::string> offeredTypes() const;
    // Makes the source the selection, to be sent with the next flush.
    void setSelection(zwlr_data_control_source_v1* source);

private:
    static void dataOffer(void* data, zwlr_data_control_device_v1* device, zwlr_data_control_offer_v1* offer);
    static void clipboardChanged(void* data, zwlr_data_control_device_v1* device,
                                 zwlr_data_control_offer_v1* offer);
    static void primaryChanged(void* data, zwlr_data_control_device_v1* device,
                               zwlr_data_control_offer_v1* offer);
    static void finished(void* data, zwlr_data_control_device_v1* device);
    static void typeOffered(void* data, zwlr_data_control_offer_v1* offer, const char* type);
    void announced(DataControlSelection selection, zwlr_data_control_offer_v1* offer);
    void release(zwlr_data_control_offer_v1* offer);

    WaylandConnection& connection_;
    DataControlSelection selection_;
    zwlr_data_control_device_v1* device_ = nullptr;
    // Every offer not yet let go, with its types: the current one, and new ones until they are named.
    std::map<zwlr_data_control_offer_v1*, std::vector<std::string>> offers_;
    zwlr_data_control_offer_v1* current_ = nullptr;
};

} // namespace driftmark
