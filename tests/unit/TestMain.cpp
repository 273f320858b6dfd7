#include "fakes/TestEnvironment.h"

#include <gtest/gtest.h>

// Every unit test runs with HOME and the XDG directories inside a private temporary directory, so no
// test can read or write the files of whoever runs it.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    driftmark::test::TemporaryHome home;
    return RUN_ALL_TESTS();
}
