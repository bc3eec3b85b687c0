#pragma once

#include "platform/platform.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Records every call, in order, as one line of text ("openTarget www.example.com owner",
// "playBuiltInSound 2", "ExitWindowsSession PowerOff", ...), and answers from what the test
// scripted. It never touches the system.
class RecordingPlatform final : public Platform
{
public:
    void openTarget(const QString& target, QWidget* owner) override;
    void playBuiltInSound(int id) override;
    void playSoundNamed(const QString& name) override;
    void ExitWindowsSession(SessionEnd how) override;
    void holdIdleSleep(bool hold) override;
    void afterPendingRequests(std::function<void()> then) override;
    std::uint32_t tickCount() override;
    SleepClocks clocks() override;
    QDateTime localDateTime() override;
    QString shortDatePattern() override;
    QString timePattern() override;
    std::optional<QString> chooseFile(FileKind kind, const QString& previous,
                                      QWidget* owner) override;
    void minimiseApplication() override;
    void restoreApplication() override;
    // Recorded as "showOnTaskbar running 30/60 count=1 hover=Vokari 00:00:30 attention=false".
    void showOnTaskbar(const TaskbarView& view, QWidget* window) override;
    void processPendingEvents() override;
    bool waitForEvents(int ms) override;

    const QStringList& calls() const { return m_calls; }
    // Adds a line of the test's own (a window shown, say) among the calls, in order.
    void record(const QString& call);
    void clearCalls() { m_calls.clear(); }
    // The recorded calls whose line starts with `operation`.
    QStringList callsTo(const QString& operation) const;

    // Scripted answers.
    std::uint32_t tickCounter = 0;
    // The two uptime clocks: a test moves both on for time awake, only bootMs for sleep.
    std::int64_t monotonicMs = 0;
    std::int64_t bootMs = 0;
    QDateTime now = QDateTime(QDate(2024, 3, 5), QTime(15, 7, 9));
    QString datePattern = QStringLiteral("yyyy/M/d");
    QString clockPattern = QStringLiteral("H:mm:ss");
    bool localeFails = false;
    std::optional<QString> chosenFile;
    // Runs inside processPendingEvents, standing in for the handlers a real event pass runs.
    std::function<void()> onProcessEvents;
    // Runs inside waitForEvents in place of real waiting: it must move the tick counter on
    // (by default the whole `ms` passes at once) and may run the handlers that time brings.
    std::function<void(int ms)> onWait;
    // Runs after each call is recorded, with its line, to look at the world at that moment.
    std::function<void(const QString& call)> onCall;
    // Requests count as pending until a test calls settleRequests().
    bool requestsHang = false;
    void settleRequests();

private:
    QStringList m_calls;
    std::vector<std::function<void()>> m_afterRequests;
};
