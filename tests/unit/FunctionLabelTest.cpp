#include "support/FunctionLabel.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <source_location>
#include <string>

namespace driftmark {
namespace {

std::string here(std::source_location site = std::source_location::current()) {
    return site.function_name();
}

// Call sites of every shape that the compiler reports differently.
struct Sites {
    Sites() { constructor = here(); }
    std::string member(int, const std::string&) const { return here(); }
    std::string lambda() const {
        return [](int) { return here(); }(1);
    }
    std::string nestedLambda() const {
        return [] { return [] { return here(); }(); }();
    }
    std::string genericLambda() const {
        return [](auto) { return here(); }(1);
    }
    template <typename T>
    std::string templated(T) const {
        return here();
    }
    template <typename T>
    std::string lambdaInTemplate(T) const {
        return [] { return here(); }();
    }
    std::string operator==(const Sites&) const { return here(); }
    std::string operator<(const Sites&) const { return here(); }
    std::string operator()() const { return here(); }
    operator std::string() const { return here(); }
    static std::map<std::string, std::function<void()>> returningTemplate() {
        return {{here(), [] {}}};
    }

    std::string constructor;
};

std::string withFunctionPointer(std::string (*)(int)) {
    return here();
}

TEST(FunctionLabel, NamesTheCallingFunctionAsTheCompilerReportsIt) {
    const Sites sites;
    EXPECT_EQ(functionLabel(sites.constructor), "Sites()");
    EXPECT_EQ(functionLabel(sites.member(1, "")), "member()");
    EXPECT_EQ(functionLabel(sites.templated(2.5)), "templated()");
    EXPECT_EQ(functionLabel(Sites::returningTemplate().begin()->first), "returningTemplate()");
    EXPECT_EQ(functionLabel(withFunctionPointer(nullptr)), "withFunctionPointer()");
}

TEST(FunctionLabel, NamesALambdaAfterItsEnclosingFunction) {
    const Sites sites;
    EXPECT_EQ(functionLabel(sites.lambda()), "lambda()");
    EXPECT_EQ(functionLabel(sites.nestedLambda()), "nestedLambda()");
    EXPECT_EQ(functionLabel(sites.genericLambda()), "genericLambda()");
    EXPECT_EQ(functionLabel(sites.lambdaInTemplate(1)), "lambdaInTemplate()");
}

TEST(FunctionLabel, KeepsOperatorNamesWhole) {
    const Sites sites;
    EXPECT_EQ(functionLabel(sites == sites), "operator==()");
    EXPECT_EQ(functionLabel(sites < sites), "operator<()");
    EXPECT_EQ(functionLabel(sites()), "operator()()");
    EXPECT_EQ(functionLabel(static_cast<std::string>(sites)), "operator std::string()");
}

TEST(FunctionLabel, ReadsWrittenSignatures) {
    EXPECT_EQ(functionLabel("void driftmark::MenuItemManager::migrateFromOldFormat()"),
              "migrateFromOldFormat()");
    EXPECT_EQ(functionLabel("driftmark::Foo::bar()::<lambda()>"), "bar()");
    EXPECT_EQ(
        functionLabel("std::map<int, std::function<void()> > driftmark::Foo::make(int (*)(char)) const"),
        "make()");
    EXPECT_EQ(functionLabel("void driftmark::Box<T>::put(T) [with T = std::pair<int, int>]"), "put()");
    EXPECT_EQ(functionLabel("bool driftmark::Foo::operator>>(int) const"), "operator>>()");
    EXPECT_EQ(functionLabel("int my_operator(int)"), "my_operator()");
}

TEST(FunctionLabel, ReturnsTextWithoutParameterListAsItIs) {
    EXPECT_EQ(functionLabel(""), "");
    EXPECT_EQ(functionLabel("driftmark::<lambda()>"), "driftmark::<lambda()>");
}

} // namespace
} // namespace driftmark
