// The main of every test that needs widgets: a QApplication on the platform the environment
// names (CTest sets Qt's offscreen platform for the widget tests).
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // File dialogs keep their history in the user's settings; a test's stay in a folder of ours.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
