// The main of every test without widgets: Qt's process, timer and file classes expect an
// application object, and it gives Qt its plugin paths (the asset tests read .ico through one).
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
