#include "fakes/TestEnvironment.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Like the unit tests, with a private HOME; in addition a Qt application on the offscreen platform, so
// that the objects under test can queue work and emit signals as they do in the program.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    driftmark::test::TemporaryHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
