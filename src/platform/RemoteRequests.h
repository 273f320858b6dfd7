#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

// One entry as a listing for another program shows it.
struct ListedEntry {
    std::string id;
    std::string title;
    // Counted from 1, as the requests that name an entry by its position count.
    std::int32_t position = 0;
    // As the settings window shows it, e.g. "⌃⌥K"; empty when the entry has none.
    std::string shortcut;

    friend bool operator==(const ListedEntry&, const ListedEntry&) = default;
};

// What another program may ask of the running application.
enum class RemoteRequest { copy, paste, list, openSettings, quit };

// What became of a request sent to the running application.
struct RemoteAnswer {
    enum class Outcome { done, refused, notReached };
    Outcome outcome = Outcome::done;
    // Why the request was not carried out, as one line.
    std::string message;
    // The entries, for a list.
    std::vector<ListedEntry> entries;
};

// The running application's side of the requests, which the platform hands over as they come.
class RemoteRequests {
public:
    // Empty when the request was carried out; otherwise why not, as one line for the requester.
    using Refusal = std::optional<std::string>;

    virtual ~RemoteRequests() = default;
    // `entry` is a position counted from 1 or an entry id.
    virtual Refusal copy(std::string_view entry) = 0;
    virtual Refusal paste(std::string_view entry) = 0;
    virtual std::vector<ListedEntry> list() = 0;
    // Refused when the window cannot be built here.
    virtual Refusal openSettings() = 0;
    virtual void quit() = 0;
};

} // namespace driftmark
