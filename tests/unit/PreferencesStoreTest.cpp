#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "support/Base64.h"
#include "support/FilePreferencesStore.h"
#include "support/PreferencesFileFormat.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace driftmark {
namespace {

using namespace std::chrono_literals;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::UnorderedElementsAre;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::vector<std::string> namesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// The text of every file whose name starts with the prefix.
std::multiset<std::string> contentsOfFilesStartingWith(const std::filesystem::path& directory,
                                                       const std::string& prefix) {
    std::multiset<std::string> contents;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.path().filename().string().starts_with(prefix)) {
            contents.insert(readFile(entry.path()));
        }
    }
    return contents;
}

TEST(MemoryPreferencesStore, ReadsConvertBetweenKinds) {
    MemoryPreferencesStore store;
    store.set("text", std::string("hello"));
    store.set("blob", bytesOf("\x01\x02"));
    store.set("off", false);
    store.set("on", true);
    store.set("count", std::int64_t{42});
    store.set("size", 800.0);
    store.set("half", 0.5);

    EXPECT_EQ(store.data("text"), std::nullopt);
    EXPECT_EQ(store.string("blob"), std::nullopt);
    EXPECT_EQ(store.data("blob"), bytesOf("\x01\x02"));
    EXPECT_EQ(store.string("off"), "0");
    EXPECT_EQ(store.string("on"), "1");
    EXPECT_EQ(store.string("count"), "42");
    EXPECT_EQ(store.string("size"), "800");
    EXPECT_EQ(store.string("half"), "0.5");
    EXPECT_EQ(store.string("missing"), std::nullopt);

    EXPECT_TRUE(store.boolean("on"));
    EXPECT_FALSE(store.boolean("off"));
    EXPECT_TRUE(store.boolean("count"));
    EXPECT_FALSE(store.boolean("missing"));
    EXPECT_FALSE(store.boolean("text"));

    EXPECT_EQ(store.doubleValue("size"), 800.0);
    EXPECT_EQ(store.doubleValue("count"), 42.0);
    EXPECT_EQ(store.doubleValue("missing"), 0.0);
    EXPECT_EQ(store.doubleValue("text"), 0.0);

    ASSERT_TRUE(store.object("count").has_value());
    EXPECT_TRUE(std::holds_alternative<std::int64_t>(*store.object("count")));
    EXPECT_TRUE(std::holds_alternative<double>(*store.object("size")));
}

TEST(MemoryPreferencesStore, StringsReadAsBooleansAndNumbers) {
    MemoryPreferencesStore store({{"yes", std::string("YES")},
                                  {"one", std::string("1")},
                                  {"zero", std::string("0")},
                                  {"width", std::string("640.5")}});
    EXPECT_TRUE(store.boolean("yes"));
    EXPECT_TRUE(store.boolean("one"));
    EXPECT_FALSE(store.boolean("zero"));
    EXPECT_EQ(store.doubleValue("width"), 640.5);
}

TEST(MemoryPreferencesStore, RemovingTheDomainLeavesNothing) {
    MemoryPreferencesStore store({{"a", true}, {"b", std::string("x")}, {"c", 3.0}});
    store.removeObject("a");
    EXPECT_EQ(store.object("a"), std::nullopt);
    store.removePersistentDomain();
    EXPECT_TRUE(store.dictionaryRepresentation().empty());
    EXPECT_FALSE(store.boolean("a"));
    EXPECT_EQ(store.string("b"), std::nullopt);
    EXPECT_EQ(store.doubleValue("c"), 0.0);
}

TEST(Base64, RoundTripsEveryLengthAndRejectsDamage) {
    Bytes bytes;
    for (int length = 0; length < 40; ++length) {
        EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes) << "length " << length;
        bytes.push_back(static_cast<std::uint8_t>(length * 37 + 200));
    }
    EXPECT_EQ(base64Encode(bytesOf("Man")), "TWFu");
    EXPECT_EQ(base64Encode(bytesOf("Ma")), "TWE=");
    EXPECT_EQ(base64Encode(bytesOf("M")), "TQ==");
    EXPECT_EQ(base64Decode("TWE"), std::nullopt);
    EXPECT_EQ(base64Decode("TW!u"), std::nullopt);
    EXPECT_EQ(base64Decode("T=Fu"), std::nullopt);
}

TEST(PreferencesFileFormat, WritesOneTypedMemberPerKey) {
    const auto text = encodePreferences({{"autoPaste", true},
                                         {"clipboardText", std::string("hi")},
                                         {"n", std::int64_t{42}},
                                         {"w", 800.0},
                                         {"d", bytesOf("Man")}});
    const auto decoded = decodePreferences(text);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->at("autoPaste"), PreferenceValue(true));
    EXPECT_EQ(decoded->at("w"), PreferenceValue(800.0));
    EXPECT_EQ(decoded->at("n"), PreferenceValue(std::int64_t{42}));
    EXPECT_THAT(text, HasSubstr("\"d\": {\n    \"data\": \"TWFu\""));
    EXPECT_THAT(text, HasSubstr("\"double\": 800.0"));
}

TEST(PreferencesFileFormat, RejectsAnythingButTypedMembers) {
    EXPECT_TRUE(decodePreferences("{}").has_value());
    EXPECT_TRUE(decodePreferences(R"({"autoPaste": {"bool": true}, "clipboardText": {"string": "hi"}})"));
    EXPECT_FALSE(decodePreferences("[]"));
    EXPECT_FALSE(decodePreferences("{"));
    EXPECT_FALSE(decodePreferences(R"({"a": 5})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"bool": 1}})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"integer": 1.5}})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"integer": 18446744073709551615}})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"string": "x", "bool": true}})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"data": "not base64"}})"));
    EXPECT_FALSE(decodePreferences(R"({"a": {"colour": "red"}})"));
}

class FilePreferencesStoreTest : public testing::Test {
protected:
    test::TemporaryDirectory directory;
    std::filesystem::path file = directory.path() / "config" / "driftmark-menubar" / "preferences.json";
    std::vector<std::string> problems;
    // 2025-03-07 12:00:00 UTC, held still so that every backup of a test falls within one second.
    test::ManualClock clock{std::chrono::sys_days{std::chrono::year{2025} / 3 / 7} + 12h};

    FilePreferencesStore open() {
        return FilePreferencesStore(
            file, [this](const std::string& line) { problems.push_back(line); }, clock);
    }
};

TEST_F(FilePreferencesStoreTest, MissingFileIsAnEmptyStoreAndIsNotCreatedByReading) {
    auto store = open();
    EXPECT_TRUE(store.dictionaryRepresentation().empty());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(problems.empty());
}

TEST_F(FilePreferencesStoreTest, EveryWriteIsOnDiskWhenTheCallReturns) {
    {
        auto store = open();
        store.set("clipboardText", std::string("héllo\nworld"));
        store.set("menuBarItems", bytesOf("[1,2]"));
        store.set("settingsWindowWidth", 800.0);
        store.set("KeyboardShortcuts_copyToClipboard", false);
        // The file is complete after each call, not only when the store goes away.
        const auto onDisk = decodePreferences(readFile(file));
        ASSERT_TRUE(onDisk.has_value());
        EXPECT_EQ(onDisk->size(), 4u);
    }
    auto reopened = open();
    EXPECT_EQ(reopened.string("clipboardText"), "héllo\nworld");
    EXPECT_EQ(reopened.data("menuBarItems"), bytesOf("[1,2]"));
    EXPECT_EQ(reopened.doubleValue("settingsWindowWidth"), 800.0);
    EXPECT_EQ(reopened.string("KeyboardShortcuts_copyToClipboard"), "0");
    EXPECT_TRUE(problems.empty());
}

TEST_F(FilePreferencesStoreTest, FileAndDirectoryArePrivateAndNoTemporaryFilesRemain) {
    auto store = open();
    store.set("a", true);
    store.set("b", false);
    struct stat fileInfo {};
    struct stat dirInfo {};
    ASSERT_EQ(::stat(file.c_str(), &fileInfo), 0);
    ASSERT_EQ(::stat(file.parent_path().c_str(), &dirInfo), 0);
    EXPECT_EQ(fileInfo.st_mode & 0777, 0600u);
    EXPECT_EQ(dirInfo.st_mode & 0777, 0700u);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_THAT(names, ElementsAre("preferences.json"));
}

TEST_F(FilePreferencesStoreTest, MalformedFileIsKeptAsideAndNeverOverwritten) {
    writeFile(file, "{\"menuBarItems\": {\"data\": ");
    auto store = open();
    EXPECT_TRUE(store.dictionaryRepresentation().empty());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_THAT(problems[0], HasSubstr("preferences.json.corrupt-"));

    store.set("a", true);
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        if (entry.path().filename().string().starts_with("preferences.json.corrupt-")) {
            kept.push_back(entry.path());
        }
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(readFile(kept[0]), "{\"menuBarItems\": {\"data\": ");
    EXPECT_EQ(open().dictionaryRepresentation().size(), 1u);
}

TEST_F(FilePreferencesStoreTest, UnreadableFilesWithinOneSecondAreKeptApartAndNoBackupIsOverwritten) {
    const std::string stamped = "preferences.json.corrupt-20250307T120000Z";
    writeFile(file.parent_path() / stamped, "an earlier backup");
    writeFile(file, "first damaged file");
    open();
    writeFile(file, "second damaged file");
    open().set("a", true);

    EXPECT_EQ(readFile(file.parent_path() / stamped), "an earlier backup");
    EXPECT_THAT(contentsOfFilesStartingWith(file.parent_path(), "preferences.json.corrupt-"),
                UnorderedElementsAre("an earlier backup", "first damaged file", "second damaged file"));
    ASSERT_EQ(problems.size(), 2U);
    // Each line names the backup that holds its file.
    const auto keptAs = [](const std::string& line) {
        const std::string marker = "kept it as ";
        const auto from = line.find(marker) + marker.size();
        return std::filesystem::path(line.substr(from, line.find(' ', from) - from));
    };
    EXPECT_EQ(readFile(keptAs(problems[0])), "first damaged file");
    EXPECT_EQ(readFile(keptAs(problems[1])), "second damaged file");
    EXPECT_THAT(keptAs(problems[0]).filename().string(), testing::StartsWith(stamped));
    EXPECT_EQ(open().dictionaryRepresentation().size(), 1U);
}

TEST_F(FilePreferencesStoreTest, TemporaryFilesLeftByAnInterruptedWriteAreRemovedAtStart) {
    writeFile(file, R"({"a": {"bool": true}})");
    writeFile(file.parent_path() / ".preferences.json.tmp-a1B2c3", "half a write");
    writeFile(file.parent_path() / ".preferences.json.tmp-ZZZZZZ", "");
    writeFile(file.parent_path() / ".preferences.json.backup", "not ours");
    writeFile(file.parent_path() / ".preferences.json.notes", "not ours");
    writeFile(file.parent_path() / "preferences.json.corrupt-20250101T000000Z", "a backup");
    auto store = open();
    EXPECT_TRUE(store.boolean("a"));
    EXPECT_THAT(namesIn(file.parent_path()),
                UnorderedElementsAre("preferences.json", ".preferences.json.backup",
                                     ".preferences.json.notes", "preferences.json.corrupt-20250101T000000Z"));
    EXPECT_TRUE(problems.empty());
}

class LinkedPreferencesFileTest : public FilePreferencesStoreTest {
protected:
    LinkedPreferencesFileTest() {
        std::filesystem::create_directories(file.parent_path());
        std::filesystem::create_directories(dotfiles);
        std::filesystem::create_symlink(linkText, file);
    }

    // Relative, as a dotfiles manager makes them.
    std::filesystem::path linkText = "../../dotfiles/driftmark.json";
    std::filesystem::path dotfiles = directory.path() / "dotfiles";
    std::filesystem::path target = dotfiles / "driftmark.json";
};

TEST_F(LinkedPreferencesFileTest, IsWrittenThroughAndStaysALink) {
    writeFile(target, R"({"a": {"string": "from the repository"}})");
    writeFile(dotfiles / ".driftmark.json.tmp-Xy12Z9", "left by a kill");
    auto store = open();
    EXPECT_EQ(store.string("a"), "from the repository");
    store.set("b", true);

    ASSERT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(std::filesystem::read_symlink(file), linkText);
    const auto onDisk = decodePreferences(readFile(target));
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_EQ(onDisk->at("b"), PreferenceValue(true));
    struct stat targetInfo {};
    ASSERT_EQ(::stat(target.c_str(), &targetInfo), 0);
    EXPECT_EQ(targetInfo.st_mode & 0777, 0600U);
    EXPECT_THAT(namesIn(dotfiles), ElementsAre("driftmark.json"));
    EXPECT_THAT(namesIn(file.parent_path()), ElementsAre("preferences.json"));
    EXPECT_TRUE(problems.empty());
}

TEST_F(LinkedPreferencesFileTest, ALinkToNothingYetGetsItsTarget) {
    auto store = open();
    EXPECT_TRUE(store.dictionaryRepresentation().empty());
    store.set("a", true);
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_TRUE(open().boolean("a"));
    EXPECT_THAT(namesIn(dotfiles), ElementsAre("driftmark.json"));
}

TEST_F(LinkedPreferencesFileTest, AnUnreadableTargetIsKeptAsideBesideItAndTheLinkStays) {
    writeFile(target, "damaged");
    auto store = open();
    store.set("a", true);
    ASSERT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_THAT(contentsOfFilesStartingWith(dotfiles, "driftmark.json.corrupt-"), ElementsAre("damaged"));
    EXPECT_TRUE(decodePreferences(readFile(target)).has_value());
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_THAT(problems[0],
                HasSubstr((std::filesystem::canonical(dotfiles) / "driftmark.json.corrupt-").string()));
}

TEST_F(FilePreferencesStoreTest, RemovingTheDomainEmptiesTheFile) {
    auto store = open();
    store.set("a", std::string("x"));
    store.removePersistentDomain();
    EXPECT_EQ(decodePreferences(readFile(file)), (std::map<std::string, PreferenceValue>{}));
    EXPECT_TRUE(open().dictionaryRepresentation().empty());
}

TEST_F(FilePreferencesStoreTest, UnwritableLocationIsReportedAndKeepsTheValueInMemory) {
    // A plain file where the directory should be: no write can succeed, whoever runs the test.
    writeFile(file.parent_path(), "in the way");
    auto store = open();
    store.set("a", true);
    EXPECT_TRUE(store.boolean("a"));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_THAT(problems[0], HasSubstr("Could not write preferences file"));
}

TEST_F(FilePreferencesStoreTest, NumbersTheFileCannotHoldAreRefusedAndTheFileStillLoads) {
    {
        auto store = open();
        store.set("clipboardText", std::string("hi"));
        store.set("settingsWindowWidth", 800.0);
        store.set("settingsWindowWidth", std::numeric_limits<double>::quiet_NaN());
        store.set("settingsWindowHeight", std::numeric_limits<double>::infinity());
        store.set("settingsWindowHeight", -std::numeric_limits<double>::infinity());
        EXPECT_EQ(store.object("settingsWindowWidth"), PreferenceValue(800.0));
        EXPECT_EQ(store.object("settingsWindowHeight"), std::nullopt);

        MemoryPreferencesStore memory({{"w", 640.0}});
        memory.set("w", std::numeric_limits<double>::quiet_NaN());
        memory.set("h", std::numeric_limits<double>::infinity());
        EXPECT_EQ(memory.dictionaryRepresentation(), (std::map<std::string, PreferenceValue>{{"w", 640.0}}));
    }
    auto reopened = open();
    EXPECT_EQ(reopened.dictionaryRepresentation(),
              (std::map<std::string, PreferenceValue>{{"clipboardText", std::string("hi")},
                                                      {"settingsWindowWidth", 800.0}}));
    EXPECT_TRUE(problems.empty());
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("preferences.json.corrupt-"));
    }
}

} // namespace
} // namespace driftmark
