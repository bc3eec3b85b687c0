#include "app/startup.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(Startup, AWaylandSessionRunsThroughXWaylandUnlessThePlatformWasChosen)
{
    struct Row
    {
        const char* what;
        std::vector<const char*> environment; // NAME=value
        std::vector<const char*> arguments;
        const char* platform;
    };
    const Row rows[] = {
        {"X11 session", {"DISPLAY=:0", "XDG_SESSION_TYPE=x11"}, {}, ""},
        {"Wayland session", {"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}, {}, "xcb;wayland"},
        {"Wayland named only by the session type", {"XDG_SESSION_TYPE=wayland"}, {}, "xcb;wayland"},
        {"user chose wayland", {"WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=wayland"}, {}, {}},
        {"user chose it by option", {"WAYLAND_DISPLAY=wayland-0"}, {"-platform", "wayland"}, ""},
        {"option with its value attached",
         {"WAYLAND_DISPLAY=wayland-0"},
         {"-platform=wayland"},
         ""},
        {"an empty choice is no choice",
         {"WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM="},
         {},
         "xcb;wayland"},
        {"other arguments are not read",
         {"WAYLAND_DISPLAY=wayland-0"},
         {"--platforms", "x"},
         "xcb;wayland"},
        {"no display at all", {}, {}, ""},
    };
    for (const Row& r : rows) {
        QProcessEnvironment environment(QProcessEnvironment::InheritFromParent);
        environment.clear();
        for (const char* pair : r.environment) {
            const QString text = QString::fromLatin1(pair);
            environment.insert(text.section(u'=', 0, 0), text.section(u'=', 1));
        }
        QStringList arguments;
        for (const char* argument : r.arguments)
            arguments.append(QString::fromLatin1(argument));
        EXPECT_EQ(Startup::displayPlatform(environment, arguments), QByteArray(r.platform))
            << r.what;
    }
}

} // namespace
