#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "platform/platform.h"

// Records every call, in order, as one line of text ("openTarget www.example.com owner",
// "playBuiltInSound 2", "ExitWindowsSession 12", ...), and answers from what the test scripted.
// It never touches the system.
class RecordingPlatform final : public Platform
{
public:
    void openTarget(const QString& target, QWidget* owner) override;
    void playBuiltInSound(int id) override;
    void playSoundNamed(const QString& name) override;
    bool ExitWindowsSession(SessionEnd how) override;
    std::uint32_t tickCount() override;
    QDateTime localDateTime() override;
    QString shortDatePattern() override;
    QString timePattern() override;
    std::optional<QString> chooseFile(FileKind kind, const QString& previous,
                                      QWidget* owner) override;
    void minimiseApplication() override;
    void restoreApplication() override;
    void processPendingEvents() override;

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The recorded calls whose line starts with `operation`.
    QStringList callsTo(const QString& operation) const;

    // Scripted answers.
    bool sessionEndAccepted = false;
    std::uint32_t tickCounter = 0;
    // Added to the tick counter at every read, so a polling wait sees time pass.
    std::uint32_t tickStep = 0;
    QDateTime now = QDateTime(QDate(2024, 3, 5), QTime(15, 7, 9));
    QString datePattern = QStringLiteral("yyyy/M/d");
    QString clockPattern = QStringLiteral("H:mm:ss");
    bool localeFails = false;
    std::optional<QString> chosenFile;
    // Runs inside processPendingEvents, standing in for the handlers a real event pass runs.
    std::function<void()> onProcessEvents;

private:
    QStringList m_calls;
};
