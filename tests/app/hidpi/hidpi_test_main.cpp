// The widgets on a screen of device pixel ratio 2, without a display: Qt scales the offscreen
// screen by two when QT_SCALE_FACTOR says so before QApplication exists.
#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_SCALE_FACTOR", "2", 1);
    QStandardPaths::setTestModeEnabled(true); // settings go to a test location, never the user's
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
