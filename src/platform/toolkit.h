#pragma once

#include "platform/platform.h"

#include <QString>

#include <optional>

class QWidget;

// The services every backend takes from the window toolkit rather than from the system itself.
namespace Toolkit {

void minimiseApplication();
void restoreApplication();
// Marks `window`'s top-level as wanting the user's attention until it is active again; nothing
// when it is active already.
void askAttention(QWidget* window);
void processPendingEvents();
bool waitForEvents(int ms);
QDateTime localDateTime();

// Lets the user pick an existing file with a name filter such as "WAV 声音文件 (*.WAV)";
// `executablesOnly` hides files the user may not run.
std::optional<QString> chooseFile(const QString& filter, bool executablesOnly,
                                  const QString& previous, QWidget* owner);

} // namespace Toolkit
