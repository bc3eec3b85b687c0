// The main of every e2e test: Qt's process and file classes expect an application object, and a
// core one suffices because the tests themselves open no window.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
