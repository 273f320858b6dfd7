#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Each Text element of the settings views, from its opening line to its closing brace.
std::vector<std::string> textElements(const std::string& view) {
    static const std::regex opening(R"((^|[\s;{])(\w+:\s*)?Text\s*\{)");
    std::vector<std::string> elements;
    for (std::sregex_iterator match(view.begin(), view.end(), opening), end; match != end; ++match) {
        std::size_t position = static_cast<std::size_t>(match->position(0) + match->length(0));
        int depth = 1;
        const std::size_t start = position;
        while (position < view.size() && depth > 0) {
            depth += view[position] == '{' ? 1 : view[position] == '}' ? -1 : 0;
            ++position;
        }
        elements.push_back(view.substr(start, position - start));
    }
    return elements;
}

// Titles and texts come from the user's entries, a shared preferences file or another program: drawn as
// markup, an <img> in one would be fetched and <b> would change what is shown. Every Text of the views
// is plain, whatever it shows today.
TEST(ViewTextFormat, EveryTextOfTheSettingsViewsIsPlainText) {
    const fs::path views = fs::path(DRIFTMARK_SOURCE_DIR) / "settings" / "qml";
    std::vector<std::string> offenders;
    std::size_t checked = 0;
    for (const auto& entry : fs::directory_iterator(views)) {
        if (entry.path().extension() != ".qml") {
            continue;
        }
        std::ifstream file(entry.path());
        std::stringstream contents;
        contents << file.rdbuf();
        for (const std::string& element : textElements(contents.str())) {
            ++checked;
            if (element.find("textFormat: Text.PlainText") == std::string::npos) {
                offenders.push_back(entry.path().filename().string() + ": Text {" + element.substr(0, 80));
            }
        }
    }
    EXPECT_GT(checked, 30U) << "the views' Text elements were not found";
    EXPECT_TRUE(offenders.empty()) << [&] {
        std::string list;
        for (const auto& offender : offenders) {
            list += offender + "\n";
        }
        return list;
    }();
}

TEST(ViewTextFormat, TheCheckFindsTextElementsAndTheirFormat) {
    const auto elements = textElements("Item {\n    Text { text: a }\n    header: Text {\n        textFormat: "
                                       "Text.PlainText\n        Item {}\n    }\n    TextField {}\n}\n");
    ASSERT_EQ(elements.size(), 2U);
    EXPECT_EQ(elements[0].find("textFormat"), std::string::npos);
    EXPECT_NE(elements[1].find("textFormat: Text.PlainText"), std::string::npos);
    EXPECT_NE(elements[1].find("Item {}"), std::string::npos);
}

} // namespace
