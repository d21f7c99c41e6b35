// Main of the test binaries: headless Qt application, then GoogleTest.
#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never open a real window; the software scene graph needs no GPU.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
