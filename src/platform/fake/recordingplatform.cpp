#include "platform/fake/recordingplatform.h"

void RecordingPlatform::minimiseApplication()
{
    m_calls.append(QStringLiteral("minimiseApplication"));
}

void RecordingPlatform::restoreApplication()
{
    m_calls.append(QStringLiteral("restoreApplication"));
}
