#include "app/PasteChordTable.h"

#include "fakes/AppHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;

std::string nestedArrays(std::size_t levels) {
    return std::string(levels, '[') + std::string(levels, ']');
}

class PasteChordTableTest : public testing::Test {
protected:
    const PasteChord& chordFor(const std::optional<std::string>& windowClass) {
        return table.chordFor(windowClass);
    }
    void setOverride(PreferenceValue value) { harness.preferences.set("pasteChords", std::move(value)); }
    std::vector<std::string> errors() const {
        std::vector<std::string> messages;
        for (const auto& entry : harness.platform.recordedLog.entries()) {
            if (entry.category == "SmartPaste" && entry.level == SystemLogLevel::error) {
                messages.push_back(entry.message);
            }
        }
        return messages;
    }

    test::AppHarness harness{{}};
    PasteChordTable table{harness.preferences, harness.platform.systemLog, harness.logWriter};
};

TEST_F(PasteChordTableTest, ChordsPostTheirKeysWithExactlyTheirModifiers) {
    EXPECT_EQ(controlV.virtualKey, 9);
    EXPECT_EQ(controlV.flags, keyEventFlagCommand);
    EXPECT_FALSE(controlV.pastesPrimarySelection);
    EXPECT_EQ(controlShiftV.virtualKey, 9);
    EXPECT_EQ(controlShiftV.flags, keyEventFlagCommand | keyEventFlagShift);
    EXPECT_FALSE(controlShiftV.pastesPrimarySelection);
    EXPECT_EQ(shiftInsert.virtualKey, 114);
    EXPECT_EQ(shiftInsert.flags, keyEventFlagShift);
    EXPECT_TRUE(shiftInsert.pastesPrimarySelection);
}

TEST_F(PasteChordTableTest, OrdinaryWindowsPasteWithControlV) {
    EXPECT_EQ(&chordFor("Gedit"), &controlV);
    EXPECT_EQ(&chordFor("driftmark_e2e_target"), &controlV);
    EXPECT_EQ(&chordFor(std::nullopt), &controlV);
    EXPECT_THAT(harness.platform.logMessages("SmartPaste"),
                ElementsAre("Paste chord for Gedit: Ctrl+V", "Paste chord for driftmark_e2e_target: Ctrl+V",
                            "Paste chord for a window without a class: Ctrl+V"));
}

TEST_F(PasteChordTableTest, TerminalsAreKnownByTheirClassInAnyCase) {
    for (const char* terminal :
         {"Gnome-terminal", "konsole", "Xfce4-terminal", "Tilix", "Terminator", "Lxterminal", "qterminal",
          "Alacritty", "kitty", "foot", "Mate-terminal", "Sakura"}) {
        EXPECT_EQ(&chordFor(terminal), &controlShiftV) << terminal;
    }
    for (const char* terminal : {"XTerm", "UXTerm", "URxvt", "xterm", "XTERM"}) {
        EXPECT_EQ(&chordFor(terminal), &shiftInsert) << terminal;
    }
    EXPECT_THAT(harness.platform.logMessages("SmartPaste"),
                testing::IsSupersetOf(
                    {"Paste chord for Lxterminal: Ctrl+Shift+V", "Paste chord for XTerm: Shift+Insert"}));
    EXPECT_THAT(harness.dailyLog(), Contains("Paste chord for XTerm: Shift+Insert"));
}

TEST_F(PasteChordTableTest, TheUsersTableComesFirstAndIgnoresCaseAndSpaces) {
    setOverride(std::string(R"({"MyTerm": "ctrl+shift+v", "xterm": "Ctrl + V", "EDITOR": "SHIFT+INSERT"})"));
    EXPECT_EQ(&chordFor("myterm"), &controlShiftV);
    EXPECT_EQ(&chordFor("XTerm"), &controlV);
    EXPECT_EQ(&chordFor("Editor"), &shiftInsert);
    EXPECT_EQ(&chordFor("Lxterminal"), &controlShiftV) << "the built-in table still holds for the others";
    EXPECT_EQ(&chordFor("Gedit"), &controlV);
    EXPECT_THAT(harness.platform.logMessages("SmartPaste"),
                testing::IsSupersetOf({"Paste chord for myterm: Ctrl+Shift+V (from pasteChords)",
                                       "Paste chord for XTerm: Ctrl+V (from pasteChords)",
                                       "Paste chord for Lxterminal: Ctrl+Shift+V"}));
    EXPECT_THAT(errors(), IsEmpty());
}

TEST_F(PasteChordTableTest, ChordsThatCannotBeUnderstoodAreIgnoredWithALogLine) {
    setOverride(std::string(
        R"({"XTerm": "ctrl+q", "Gedit": 5, "Editor": "shift+insert", "Kitty": "ctrl+shift+v+x"})"));
    EXPECT_EQ(&chordFor("XTerm"), &shiftInsert) << "the built-in chord stays";
    EXPECT_EQ(&chordFor("Gedit"), &controlV);
    EXPECT_EQ(&chordFor("Editor"), &shiftInsert) << "the good entries still count";
    const std::string xterm =
        R"(Paste chord for XTerm ignored: "ctrl+q" is not ctrl+v, ctrl+shift+v or shift+insert)";
    const std::string gedit = "Paste chord for Gedit ignored: 5 is not ctrl+v, ctrl+shift+v or shift+insert";
    EXPECT_THAT(errors(), Contains(xterm));
    EXPECT_THAT(errors(), Contains(gedit));
    EXPECT_THAT(errors(), Contains(testing::HasSubstr("Kitty ignored")));
    EXPECT_THAT(harness.dailyLog(), testing::IsSupersetOf({xterm, gedit}));
}

TEST_F(PasteChordTableTest, ATableThatIsNoJsonObjectIsIgnoredWithALogLine) {
    const std::string ignored =
        "Paste chord table ignored: pasteChords is not a string holding a JSON object of "
        "window classes and chords";
    for (const PreferenceValue& value :
         {PreferenceValue(std::string("XTerm=ctrl+v")),
          PreferenceValue(std::string(R"(["XTerm", "ctrl+v"])")), PreferenceValue(true),
          PreferenceValue(Bytes{'{', '}'}), PreferenceValue(std::string("{\"XTerm\": "))}) {
        setOverride(value);
        EXPECT_EQ(&chordFor("XTerm"), &shiftInsert);
    }
    EXPECT_EQ(errors(), std::vector<std::string>(5, ignored));
}

// Reporting each ignored chord in full would walk such a value recursively and overflow the stack.
TEST_F(PasteChordTableTest, ADeeplyNestedTableIsIgnoredWithOneShortReport) {
    const std::string start = R"({"Kitty": "ctrl+v", "Deep": )";
    const std::string ignored = "Paste chord table ignored: pasteChords ";
    setOverride(start + nestedArrays(30'000) + "}");
    EXPECT_EQ(&chordFor("Kitty"), &controlShiftV) << "the whole table is ignored";
    const std::string tooDeep =
        ignored + "nests deeper than 64 levels: " + start + std::string(72, '[') + "… (60029 bytes)";
    EXPECT_THAT(errors(), ElementsAre(tooDeep));
    EXPECT_THAT(harness.dailyLog(), Contains(tooDeep));

    // Most of all, a table this deep is far beyond the size of any table.
    setOverride(start + nestedArrays(300'000) + "}");
    EXPECT_EQ(&chordFor("Kitty"), &controlShiftV);
    EXPECT_THAT(errors(), ElementsAre(tooDeep, ignored + "is longer than 65536 bytes: " + start +
                                                   std::string(72, '[') + "… (600029 bytes)"));
}

TEST_F(PasteChordTableTest, ATableBeyondItsSizeIsIgnoredWithAShortReport) {
    const std::string start = R"({"Kitty": "ctrl+v", "Long": ")";
    setOverride(start + std::string(70'000, 'x') + "\"}");
    EXPECT_EQ(&chordFor("Kitty"), &controlShiftV);
    EXPECT_THAT(errors(), ElementsAre("Paste chord table ignored: pasteChords is longer than 65536 bytes: " +
                                      start + std::string(71, 'x') + "… (70031 bytes)"));
}

TEST_F(PasteChordTableTest, AnIgnoredChordIsQuotedShortened) {
    setOverride(R"({"Kitty": "ctrl+v", "XTerm": ")" + std::string(10'000, 'x') + R"(", ")" +
                std::string(500, 'N') + R"(": )" + nestedArrays(60) + "}");
    EXPECT_EQ(&chordFor("Kitty"), &controlV) << "the chords that can be understood still count";
    const std::string chords = " is not ctrl+v, ctrl+shift+v or shift+insert";
    const std::string xterm = "Paste chord for XTerm ignored: \"" + std::string(99, 'x') + "… (10002 bytes)";
    const std::string named = "Paste chord for " + std::string(100, 'N') + "… (500 bytes) ignored: ";
    const std::string nested = std::string(60, '[') + std::string(40, ']') + "… (120 bytes)";
    EXPECT_THAT(errors(), testing::UnorderedElementsAre(xterm + chords, named + nested + chords));
    EXPECT_THAT(harness.dailyLog(), testing::IsSupersetOf({xterm + chords, named + nested + chords}));
}

} // namespace
} // namespace driftmark
