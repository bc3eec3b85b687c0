#pragma once

#include "assets/glyphstrip.h"
#include "core/clockformat.h"
#include "core/timerengine.h"
#include "core/ttimer.h"
#include "platform/taskbarview.h"

#include <QWidget>

class ActionRunner;
class Platform;
class SkinnedWindow;
class TImage;
class THoverImage;
class TLabel;
class TPanel;
class TPaintBox;
class TfrmActions;
class TfrmMsg;
class TfrmSetTime;

// The main window: the display panel, the eight timer buttons, close and minimise, the title and
// the link label. It owns the timer state (through the engine) and both one-second timers.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm1(Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows created after this one; the completion and the two dialog buttons use them.
    void attachWindows(TfrmActions& actions, TfrmSetTime& setTime, TfrmMsg& msg);

    TimerEngine& engine() { return m_engine; }
    ActionRunner& runner() { return *m_runner; }
    TimerState& state() { return m_engine.state(); }

    void DrawTime();
    void resetAll();
    // The summary line from the action dialog's tick boxes.
    void rebuildSummary();
    void MakeBlackRed(THoverImage* image);
    void MakeRedBlack(THoverImage* image);

    TImage* Image1 = nullptr;
    TPanel* Panel1 = nullptr;
    TLabel* Label1 = nullptr;
    TTimer Timer1;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    GlyphStrip ImageList1;
    TLabel* Label4 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    TPaintBox* ptBoxTotTracks = nullptr;
    TTimer Timer2;
    GlyphStrip ImageList3;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    GlyphStrip ImageList2;
    THoverImage* HoverImage1 = nullptr;
    THoverImage* HoverImage2 = nullptr;
    THoverImage* HoverImage3 = nullptr;
    THoverImage* HoverImage4 = nullptr;
    THoverImage* HoverImage5 = nullptr;
    THoverImage* HoverImage6 = nullptr;
    THoverImage* HoverImage7 = nullptr;
    THoverImage* HoverImage8 = nullptr;
    THoverImage* HoverImage9 = nullptr;
    THoverImage* HoverImage10 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createLayout();
    void FormCreate();
    void FormShow();
    void Timer2Timer();
    void HoverImage1Click();
    void HoverImage2Click();
    void HoverImage3Click();
    void HoverImage4MouseDown(Qt::MouseButton button);
    void HoverImage5MouseDown(Qt::MouseButton button);
    void HoverImage6Click();
    void HoverImage7Click();
    void HoverImage8Click();
    void HoverImage9Click();
    void HoverImage10Click();
    void connectHoverHandlers();
    void showHint(THoverImage* button);
    void clearHint();
    void Label2MouseEnter();
    void Label2MouseLeave();
    void Label2Click();
    // Ends the program once no completion is under way and the session-end requests are out.
    void quitWhenIdle();
    // Holds the idle sleep off while a countdown runs that will end the session, and until its
    // completion has carried out its last step.
    void updateIdleHold();
    // Tells the taskbar what it shows of the countdown, when that has changed.
    void updateTaskbar();

    Platform& m_platform;
    TimerEngine m_engine;
    ActionRunner* m_runner = nullptr;
    TfrmActions* m_actions = nullptr;
    TfrmSetTime* m_setTime = nullptr;
    SkinnedWindow* m_frame = nullptr;
    bool m_quitRequested = false;
    bool m_holdingIdleSleep = false;
    bool m_askingAttention = false;   // since a completion, until the program is active
    TaskbarView m_taskbar;            // what the taskbar was last told
    bool m_sessionEndPending = false; // a completion is over, its session-end request not yet
    // The region's names and designators, read once; its patterns are read at every clock tick.
    FormatSettings m_formatSettings;
};
