#pragma once

#include "app/vokariwindows.h"
#include "platform/fake/recordingplatform.h"

#include <QString>

#include <gtest/gtest.h>

class THoverImage;

// The program's four windows on the recording platform, the main one shown and exposed.
struct WindowsTest : ::testing::Test
{
    RecordingPlatform platform;
    VokariWindows windows{platform};
    TForm1& form = windows.Form1;

    void SetUp() override;

    // The main window's picture button `name`; a missing one fails the test by its name.
    THoverImage* button(const char* name);
    // What the main window's two displays show now, read back from its picture.
    QString counter();
    QString clock();
};
