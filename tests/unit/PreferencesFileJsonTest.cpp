#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "support/FilePreferencesStore.h"
#include "support/PreferencesFileFormat.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace driftmark {
namespace {

using namespace std::chrono_literals;

std::string nestedArrays(std::size_t levels) {
    return std::string(levels, '[') + std::string(levels, ']');
}

// A repeated key keeps its last value, so the nested one would be dropped unseen without a depth limit.
std::string fileHiding(const std::string& value) {
    return R"({"autoPaste": )" + value + R"(, "autoPaste": {"bool": true}})";
}

TEST(PreferencesFileJson, AFileNestedBeyondTheDepthLimitIsNotAPreferencesFile) {
    EXPECT_TRUE(decodePreferences(fileHiding(nestedArrays(63))));
    EXPECT_FALSE(decodePreferences(fileHiding(nestedArrays(64))));
    EXPECT_FALSE(decodePreferences(fileHiding(nestedArrays(300'000))));
}

TEST(PreferencesFileJson, AFileBeyondItsSizeIsNotAPreferencesFile) {
    // Built in place: at 256 MiB each copy counts.
    const std::string start = R"({"autoPaste": {"bool": true}, "clipboardText": {"string": ")";
    std::string text(256 * 1024 * 1024 + 1, 'x');
    text.replace(0, start.size(), start);
    text.replace(text.size() - 3, 3, "\"}}");
    EXPECT_FALSE(decodePreferences(text));
}

// Like any file that cannot be read: kept aside unchanged, and the store starts empty.
TEST(PreferencesFileJson, ADeeplyNestedFileIsKeptAside) {
    test::TemporaryDirectory directory;
    const std::filesystem::path file = directory.path() / "preferences.json";
    const std::string text = fileHiding(nestedArrays(300'000));
    std::ofstream(file, std::ios::binary) << text;
    test::ManualClock clock{std::chrono::sys_days{std::chrono::year{2025} / 3 / 7} + 12h};
    std::vector<std::string> problems;
    const FilePreferencesStore store(
        file, [&problems](const std::string& line) { problems.push_back(line); }, clock);

    EXPECT_TRUE(store.dictionaryRepresentation().empty());
    const std::filesystem::path kept = directory.path() / "preferences.json.corrupt-20250307T120000Z";
    EXPECT_THAT(problems, testing::ElementsAre("Preferences file " + file.string() +
                                               " is not a valid preferences file; kept it as " +
                                               kept.string() + " and started with empty preferences"));
    std::ifstream stream(kept, std::ios::binary);
    std::ostringstream keptText;
    keptText << stream.rdbuf();
    EXPECT_EQ(keptText.str(), text);
}

} // namespace
} // namespace driftmark
