#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // An application object gives Qt its plugin paths (the icon test reads .ico through Qt).
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
