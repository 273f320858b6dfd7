#include "model/Uuid.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <unordered_map>

namespace driftmark {
namespace {

constexpr const char* sample = "E621E1F8-C36C-495A-93FC-0C247A3E6E5F";

TEST(UuidTest, ParsesTheCanonicalFormInAnyCaseAndWritesItUpperCase) {
    const auto upper = Uuid::parse(sample);
    const auto lower = Uuid::parse("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    const auto mixed = Uuid::parse("e621E1f8-C36c-495A-93fC-0c247A3e6E5f");
    ASSERT_TRUE(upper && lower && mixed);
    EXPECT_EQ(*upper, *lower);
    EXPECT_EQ(*upper, *mixed);
    EXPECT_EQ(lower->toString(), sample);
    EXPECT_EQ(upper->bytes()[0], 0xE6);
    EXPECT_EQ(upper->bytes()[15], 0x5F);
}

TEST(UuidTest, RefusesEverythingButTheCanonicalForm) {
    for (const std::string text : {
             "",
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5",    // one digit short
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5F0",  // one digit too many
             "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}", // braces
             "E621E1F8C36C495A93FC0C247A3E6E5F",       // no hyphens
             "E621E1F8-C36C-495A-93FC0-C247A3E6E5F",   // hyphen misplaced
             "G621E1F8-C36C-495A-93FC-0C247A3E6E5F",   // not hexadecimal
             " E621E1F8-C36C-495A-93FC-0C247A3E6E5",   // leading space
         }) {
        EXPECT_FALSE(Uuid::parse(text)) << text;
    }
    std::string withNul = sample;
    withNul[35] = '\0';
    EXPECT_FALSE(Uuid::parse(withNul));
}

TEST(UuidTest, RandomIdentifiersAreDistinctVersionFourAndRoundTrip) {
    std::set<Uuid> seen;
    for (int i = 0; i < 100; ++i) {
        const Uuid uuid = Uuid::random();
        EXPECT_EQ(uuid.bytes()[6] >> 4, 4);
        EXPECT_EQ(uuid.bytes()[8] & 0xC0, 0x80);
        EXPECT_EQ(Uuid::parse(uuid.toString()), uuid);
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100U);
}

TEST(UuidTest, KeysHashedMaps) {
    std::unordered_map<Uuid, int> map;
    const Uuid first = Uuid::random();
    const Uuid second = Uuid::random();
    map[first] = 1;
    map[second] = 2;
    map[*Uuid::parse(first.toString())] = 3;
    EXPECT_EQ(map.size(), 2U);
    EXPECT_EQ(map.at(first), 3);
    EXPECT_EQ(map.at(second), 2);
}

} // namespace
} // namespace driftmark
