// Main of the test binaries: headless Qt application, then GoogleTest.
#include "tests/common/HeadlessQt.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    UseHeadlessQt();
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
