#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

// Names a selection may offer that stand for no contents of their own: X11 selection targets (some of
// them ask the owner to do something, others name server resources, and a bridge from XWayland may pass
// them through to Wayland), the image type that Qt adds to any selection holding an image, and the link
// type that Qt derives from text/uri-list. Saving and restoring them would offer false types.
inline bool isSelectionContent(std::string_view type) {
    static constexpr std::array<std::string_view, 14> notContents = {"TARGETS",
                                                                     "MULTIPLE",
                                                                     "TIMESTAMP",
                                                                     "SAVE_TARGETS",
                                                                     "DELETE",
                                                                     "INSERT_SELECTION",
                                                                     "INSERT_PROPERTY",
                                                                     "LENGTH",
                                                                     "PIXMAP",
                                                                     "BITMAP",
                                                                     "DRAWABLE",
                                                                     "COLORMAP",
                                                                     "application/x-qt-image",
                                                                     "text/x-moz-url"};
    return !type.empty() && std::find(notContents.begin(), notContents.end(), type) == notContents.end();
}

// The types of a selection worth reading: each offered type once, in offered order, contents only.
inline std::vector<std::string> contentTypes(const std::vector<std::string>& offered) {
    std::vector<std::string> types;
    for (const std::string& type : offered) {
        if (isSelectionContent(type) && std::find(types.begin(), types.end(), type) == types.end()) {
            types.push_back(type);
        }
    }
    return types;
}

} // namespace driftmark
