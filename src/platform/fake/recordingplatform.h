#pragma once

#include "platform/platform.h"

#include <QString>
#include <QStringList>

// Records every call, in order, as one line of text ("minimiseApplication", ...), so tests can
// check what the program asked of the system without touching it.
class RecordingPlatform final : public Platform
{
public:
    void minimiseApplication() override;
    void restoreApplication() override;

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

private:
    QStringList m_calls;
};
