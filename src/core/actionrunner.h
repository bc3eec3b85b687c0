#pragma once

#include <QObject>

class ActionSettings;
class MessageWindow;
class Platform;
class QString;
class QWidget;
class TimerEngine;

// Carries out what a completed countdown must do, in its fixed order: stop, reload when looping,
// restore the program, then message, program, sound, URL and session end as chosen. Every option
// is read when its step is reached. PerformActions is the one entry point: the engine's
// countdownCompleted signal is connected to it.
//
// The built-in alarm waits a second after each play while the windows go on working, so a
// completion can begin inside another's alarm. Such a nested completion runs every step but the
// sound: the alarm already sounding is the alarm, and a second one would nest again with each
// loop, without bound.
class ActionRunner : public QObject
{
    Q_OBJECT

public:
    // `owner` is the window that owns whatever the system shows about starting the program.
    ActionRunner(TimerEngine& engine, const ActionSettings& settings, Platform& platform,
                 MessageWindow& message, QWidget* owner, QObject* parent = nullptr);

    void PerformActions();

    // How many completions are under way, one inside another's alarm; 0 when none is.
    int depth() const { return m_depth; }

Q_SIGNALS:
    // The outermost completion has carried out its last step.
    void finished();
    // A completion has brought the program back; its remaining steps follow.
    void restored();

private:
    void ShowMsg();
    void ExecuteProg();
    void Alarm();
    void PlaySoundFile();
    void launchURL();
    void endSession();

    TimerEngine& m_engine;
    const ActionSettings& m_settings;
    Platform& m_platform;
    MessageWindow& m_message;
    QWidget* m_owner;
    int m_depth = 0;
    bool m_alarmSounding = false;
};

// Waits `Milliseconds` by the platform's wrapping 32-bit tick counter while window events go on
// being handled; sleeps between them. 0 or less returns at once.
void PumpDelay(Platform& platform, int Milliseconds);

// The alarm's repeat count from the text typed for it: a signed whole number in decimal,
// surrounding blanks allowed; 1 for any other text, including numbers beyond 32 bits.
int repeatCount(const QString& text);
