#include "app/tform1.h"

#include "app/digitdisplay.h"
#include "assets/assettable.h"
#include "core/actionrunner.h"
#include "core/makerpages.h"
#include "dialogs/tfrmactions.h"
#include "dialogs/tfrmmsg.h"
#include "dialogs/tfrmsettime.h"
#include "platform/platform.h"
#include "skin/accessibility.h"
#include "skin/fonts.h"
#include "skin/hoverimage.h"
#include "skin/palette.h"
#include "skin/skinnedwindow.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

const QString kWindow = QStringLiteral("Form1");
constexpr int kButtonTop = 272;

// The eight main buttons, left to right, which is also the order resetAll restores them in:
// where each sits, its hint (also what a screen reader calls it), the ImageList2 cell of its
// normal picture and what a screen reader says it does.
struct MainButton
{
    THoverImage* TForm1::*member;
    const char* name;
    int left;
    const char16_t* hint;
    int cell;
    const char16_t* description;
};

constexpr MainButton kMainButtons[] = {
    {&TForm1::HoverImage4, "HoverImage4", 22, u"增加时间", 0, u"加一分钟"},
    {&TForm1::HoverImage5, "HoverImage5", 61, u"减少时间", 1, u"减一分钟"},
    {&TForm1::HoverImage1, "HoverImage1", 100, u"设置操作", 2, u"选择定时结束时做什么"},
    {&TForm1::HoverImage2, "HoverImage2", 139, u"设置定时", 4, u"输入小时、分钟和秒"},
    {&TForm1::HoverImage6, "HoverImage6", 177, u"开始定时", 5, u"开始倒计时"},
    {&TForm1::HoverImage7, "HoverImage7", 215, u"暂停定时", 6, u"暂停倒计时或跑表"},
    {&TForm1::HoverImage8, "HoverImage8", 253, u"停止并重置定时", 7, u"停止并归零"},
    {&TForm1::HoverImage3, "HoverImage3", 291, u"跑表", 3, u"从零开始正计时"},
};

} // namespace

TForm1::TForm1(Platform& platform, QWidget* parent)
    // Borderless, yet with the minimise box and system menu the system gives a window: on Windows
    // they let the taskbar button and Win+Down minimise it.
    : QWidget(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint),
      Timer1(this), Timer2(this), m_platform(platform), m_engine(Timer1, this),
      m_formatSettings(formatSettingsFrom(QLocale::system()))
{
    setObjectName(kWindow);
    setWindowTitle(QStringLiteral("Vokari"));
    setAccessibleName(QStringLiteral("Vokari 倒计时"));
    setAccessibleDescription(QStringLiteral("倒计时器和跑表"));

    ImageList1 = Assets::strip(kWindow, QStringLiteral("ImageList1"));
    ImageList2 = Assets::strip(kWindow, QStringLiteral("ImageList2"));
    ImageList3 = Assets::strip(kWindow, QStringLiteral("ImageList3"));
    createLayout();
    // First shown centred on the screen; the main window keeps to its screen's work area.
    const auto centredOnScreen = [this] {
        const QScreen* s = screen();
        return s ? centredOn(s->geometry(), size()) : pos();
    };
    m_frame = new SkinnedWindow(this, centredOnScreen, true, {Image1, Label3});

    connect(&m_engine, &TimerEngine::drawRequested, this, &TForm1::DrawTime);
    m_engine.setSleepClocks([&platform] { return platform.clocks(); });
    connect(&Timer2, &TTimer::OnTimer, this, &TForm1::Timer2Timer);
    Timer2.setEnabled(true);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createLayout()
{
    Image1 = setUpSkinnedWindow(this, {351, 347}, SkinColours::WindowGrey);

    Label2 =
        new TLabel(this, MakerPages::homePage(), layoutFont(QStringLiteral("Verdana"), 13, true),
                   SkinColours::TitleGrey, true);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(75, 320);
    Label2->setCursor(Qt::PointingHandCursor);

    Label3 = new TLabel(this, QStringLiteral("Vokari v1.12"),
                        layoutFont(QStringLiteral("Courier New"), 16, true), SkinColours::TitleGrey,
                        true);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(36, 14);

    for (const MainButton& b : kMainButtons) {
        auto* button = new THoverImage(this);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(b.left, kButtonTop, 36, 36);
        button->Hint = QString::fromUtf16(b.hint);
        button->setAccessibleDescription(QString::fromUtf16(b.description));
        this->*(b.member) = button;
    }
    resetAll();

    HoverImage9 = new THoverImage(this);
    HoverImage9->setObjectName(QStringLiteral("HoverImage9"));
    HoverImage9->setGeometry(298, 10, 16, 16);
    HoverImage9->setPicture(Assets::picture(kWindow, QStringLiteral("HoverImage9")));

    HoverImage10 = new THoverImage(this);
    HoverImage10->setObjectName(QStringLiteral("HoverImage10"));
    HoverImage10->setGeometry(281, 10, 17, 17);
    HoverImage10->setPicture(Assets::picture(kWindow, QStringLiteral("HoverImage10")));

    Panel1 = new TPanel(this, SkinColours::Black);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(29, 32, 294, 233);

    ptBoxTotTracks = new TPaintBox(Panel1, QSize(96, 23));
    ptBoxTotTracks->setObjectName(QStringLiteral("ptBoxTotTracks"));
    ptBoxTotTracks->move(15, 15);

    const QFont courier19 = layoutFont(QStringLiteral("Courier New"), 19);
    Label7 = new TLabel(Panel1, QStringLiteral("秒"), courier19, SkinColours::Aqua, false);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->move(116, 21);

    Label4 = new TLabel(Panel1, QString(), layoutFont(QStringLiteral("Consolas"), 13),
                        SkinColours::SummaryCyan, false);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->AutoSize = false;
    Label4->setGeometry(16, 48, 274, 33);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setCaption(QStringLiteral("操作:警报"));

    PaintBox1 = new TPaintBox(Panel1, QSize(264, 91));
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->move(13, 85);

    Label1 = new TLabel(Panel1, QStringLiteral("12:00"), courier19, SkinColours::ClockCyan, false);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 175);

    Label6 = new TLabel(Panel1, QString(), courier19, SkinColours::Red, false);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->AutoSize = false;
    Label6->setGeometry(16, 205, 255, 21);
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    PaintBox1->setSpokenText([this] { return readoutText(m_engine.state()); });
    ptBoxTotTracks->setSpokenText(
        [this] { return counterText(m_engine.state()) + u' ' + Label7->text(); });
    // The labels keep their own text as their name: the clock and hint lines change.
    setAccessibleTexts({
        {HoverImage9, u"关闭", u"关闭 Vokari"},
        {HoverImage10, u"最小化", u"最小化 Vokari"},
        {Panel1, u"显示屏", nullptr},
        {PaintBox1, nullptr, u"时:分:秒"},
        {ptBoxTotTracks, nullptr, u"总秒数"},
        {Label1, nullptr, u"日期和时间"},
        {Label2, nullptr, u"主页"},
        {Label3, nullptr, u"标题"},
        {Label4, nullptr, u"定时结束时的操作"},
        {Label6, nullptr, u"按钮提示"},
    });

    connect(HoverImage1, &TImage::OnClick, this, &TForm1::HoverImage1Click);
    connect(HoverImage2, &TImage::OnClick, this, &TForm1::HoverImage2Click);
    connect(HoverImage3, &TImage::OnClick, this, &TForm1::HoverImage3Click);
    connect(HoverImage4, &TImage::OnMouseDown, this, &TForm1::HoverImage4MouseDown);
    connect(HoverImage5, &TImage::OnMouseDown, this, &TForm1::HoverImage5MouseDown);
    connect(HoverImage6, &TImage::OnClick, this, &TForm1::HoverImage6Click);
    connect(HoverImage7, &TImage::OnClick, this, &TForm1::HoverImage7Click);
    connect(HoverImage8, &TImage::OnClick, this, &TForm1::HoverImage8Click);
    connect(HoverImage9, &TImage::OnClick, this, &TForm1::HoverImage9Click);
    connect(HoverImage10, &TImage::OnClick, this, &TForm1::HoverImage10Click);
    connectHoverHandlers();
}

void TForm1::attachWindows(TfrmActions& actions, TfrmSetTime& setTime, TfrmMsg& msg)
{
    m_actions = &actions;
    m_setTime = &setTime;
    m_runner = new ActionRunner(m_engine, actions, m_platform, msg, this, this);
    // The hold goes once the session-end request the completion made has been answered, so
    // the machine cannot drop off to sleep while the login manager takes it in.
    connect(m_runner, &ActionRunner::finished, this, [this] {
        if (!m_holdingIdleSleep)
            return;
        m_sessionEndPending = true;
        m_platform.afterPendingRequests([self = QPointer<TForm1>(this)] {
            if (!self)
                return;
            self->m_sessionEndPending = false;
            self->updateIdleHold();
        });
    });
    connect(m_runner, &ActionRunner::finished, this, &TForm1::quitWhenIdle);
    connect(actions.CheckBox4, &QCheckBox::toggled, this, &TForm1::updateIdleHold);
    connect(&Timer1, &TTimer::enabledChanged, this, &TForm1::updateIdleHold);
    // Every timer operation ends in a redraw, a switch to the stopwatch included.
    connect(&m_engine, &TimerEngine::drawRequested, this, &TForm1::updateIdleHold);
    connect(&m_engine, &TimerEngine::drawRequested, this, &TForm1::updateTaskbar);
    // The completion's restore may not bring the main window to the front (the system decides):
    // its taskbar button then asks for attention until it is active.
    connect(m_runner, &ActionRunner::restored, this, [this] {
        m_askingAttention = !isActiveWindow();
        updateTaskbar();
    });
}

void TForm1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && m_askingAttention && isActiveWindow()) {
        m_askingAttention = false;
        updateTaskbar();
    }
}

void TForm1::updateTaskbar()
{
    TaskbarView view;
    const TimerState& s = m_engine.state();
    const int length = m_engine.barLength();
    // Once closing, everything shown goes: a pinned dock icon outlives the program.
    if (!m_quitRequested && length > 0 && !s.StopwatchMode) {
        const int left = std::clamp(s.TotalSeconds, 0, length);
        view.bar = m_engine.tickEnabled() ? TaskbarView::Bar::Running : TaskbarView::Bar::Paused;
        view.done = length - left;
        view.length = length;
        view.minutesLeft = (left + 59) / 60;
        view.hoverText = QStringLiteral("Vokari ") + readoutText(s);
    }
    view.attention = m_askingAttention && !m_quitRequested;
    if (view == m_taskbar)
        return;
    m_taskbar = view;
    m_platform.showOnTaskbar(view, this);
}

void TForm1::updateIdleHold()
{
    // A machine left alone would sleep and power off hours late, when it wakes. A hold the
    // countdown took lasts through its completion: the alarm may sound for a long while before
    // the power-off is asked for, and logind must have taken the request in.
    const bool countingDown =
        !m_quitRequested && m_engine.tickEnabled() && !m_engine.state().StopwatchMode;
    const bool completing = m_runner->depth() > 0 || m_sessionEndPending;
    const bool hold =
        m_actions->CheckBox4->isChecked() && (countingDown || (completing && m_holdingIdleSleep));
    if (hold == m_holdingIdleSleep)
        return;
    m_holdingIdleSleep = hold;
    m_platform.holdIdleSleep(hold);
}

void TForm1::FormCreate()
{
    // Qt widgets are double-buffered already.
    m_frame->ApplyWindowRegion(Image1);
    TimerState& s = m_engine.state();
    s.StopwatchMode = false;
    m_engine.setTickEnabled(false);
    s.TotalSeconds = 0;
    s.Seconds = 0;
    s.Minutes = 0;
    s.Hours = 0;
    Label6->setCaption(QString());
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TForm1::FormShow()
{
    DrawTime();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // The main window's closing ends the program, whatever dialogs are still around. A
    // completion under way finishes first: quitting now would end its alarm's pauses at once.
    event->accept();
    if (m_quitRequested)
        return;
    m_quitRequested = true;
    // No new countdown may complete while the program is on its way out.
    m_engine.setTickEnabled(false);
    updateTaskbar();
    quitWhenIdle();
}

void TForm1::quitWhenIdle()
{
    if (!m_quitRequested || (m_runner && m_runner->depth() > 0))
        return;
    m_platform.afterPendingRequests([] { QCoreApplication::quit(); });
}

void TForm1::DrawTime()
{
    ::DrawTime(m_engine.state(), ImageList1, ImageList3, ptBoxTotTracks->Canvas(),
               PaintBox1->Canvas());
    ptBoxTotTracks->canvasChanged();
    PaintBox1->canvasChanged();
    ptBoxTotTracks->spokenTextChanged();
    PaintBox1->spokenTextChanged();
}

void TForm1::resetAll()
{
    for (const MainButton& b : kMainButtons)
        RestoreFromStrip(this->*(b.member), ImageList2, b.cell);
}

void TForm1::MakeBlackRed(THoverImage* image)
{
    ::MakeBlackRed(image);
}

void TForm1::MakeRedBlack(THoverImage* image)
{
    ::MakeRedBlack(image);
}

void TForm1::showHint(THoverImage* button)
{
    Label6->setCaption(button->Hint);
}

void TForm1::clearHint()
{
    Label6->setCaption(QString());
}

void TForm1::connectHoverHandlers()
{
    // Which buttons light alone (resetAll first) and which restore only themselves differs from
    // button to button; the table of the window's design is followed row by row.
    auto enterLitAlone = [this](THoverImage* b) {
        resetAll();
        MakeImageRed(b);
        showHint(b);
    };
    auto enterKeepOthers = [this](THoverImage* b) {
        MakeImageRed(b);
        showHint(b);
    };
    auto leaveRestoringAll = [this](THoverImage*) {
        clearHint();
        resetAll();
    };
    auto leaveRestoringOwn = [this](int cell) {
        return [this, cell](THoverImage* b) {
            clearHint();
            RestoreFromStrip(b, ImageList2, cell);
        };
    };
    connect(HoverImage1, &THoverImage::OnMouseEnter, this, enterLitAlone);
    connect(HoverImage1, &THoverImage::OnMouseLeave, this, leaveRestoringAll);
    connect(HoverImage2, &THoverImage::OnMouseEnter, this, enterKeepOthers);
    connect(HoverImage2, &THoverImage::OnMouseLeave, this, leaveRestoringOwn(4));
    connect(HoverImage3, &THoverImage::OnMouseEnter, this, enterKeepOthers);
    connect(HoverImage3, &THoverImage::OnMouseLeave, this, leaveRestoringOwn(3));
    connect(HoverImage4, &THoverImage::OnMouseEnter, this, enterLitAlone);
    // The add button restores first and empties the hint after.
    connect(HoverImage4, &THoverImage::OnMouseLeave, this, [this](THoverImage*) {
        resetAll();
        clearHint();
    });
    connect(HoverImage5, &THoverImage::OnMouseEnter, this, enterLitAlone);
    connect(HoverImage5, &THoverImage::OnMouseLeave, this, leaveRestoringAll);
    connect(HoverImage6, &THoverImage::OnMouseEnter, this, enterLitAlone);
    connect(HoverImage6, &THoverImage::OnMouseLeave, this, leaveRestoringOwn(5));
    connect(HoverImage7, &THoverImage::OnMouseEnter, this, enterLitAlone);
    connect(HoverImage7, &THoverImage::OnMouseLeave, this, leaveRestoringOwn(6));
    connect(HoverImage8, &THoverImage::OnMouseEnter, this, enterLitAlone);
    connect(HoverImage8, &THoverImage::OnMouseLeave, this, leaveRestoringOwn(7));
    // The close and minimise glyphs light without touching the hint line.
    for (THoverImage* glyph : {HoverImage9, HoverImage10}) {
        connect(glyph, &THoverImage::OnMouseEnter, this, &TForm1::MakeBlackRed);
        connect(glyph, &THoverImage::OnMouseLeave, this, &TForm1::MakeRedBlack);
    }
    connect(Label2, &TLabel::OnMouseEnter, this, &TForm1::Label2MouseEnter);
    connect(Label2, &TLabel::OnMouseLeave, this, &TForm1::Label2MouseLeave);
    connect(Label2, &TLabel::OnClick, this, &TForm1::Label2Click);
}

void TForm1::Label2MouseEnter()
{
    Label2->setFontColor(SkinColours::LinkHoverRed);
    resetAll();
}

void TForm1::Label2MouseLeave()
{
    Label2->setFontColor(SkinColours::TitleGrey);
    resetAll();
}

void TForm1::Label2Click()
{
    m_platform.openTarget(Label2->text(), nullptr);
}

void TForm1::Timer2Timer()
{
    // The patterns are read afresh every second, so a change of regional format shows at once.
    QString datePattern;
    QString timePattern;
    try {
        datePattern = m_platform.shortDatePattern();
        timePattern = m_platform.timePattern();
    } catch (...) {
        datePattern = QString::fromUtf16(kFallbackDatePattern);
        timePattern = QString::fromUtf16(kFallbackTimePattern);
    }
    m_formatSettings.ShortDateFormat = datePattern;
    m_formatSettings.LongTimeFormat = timePattern;
    Label1->setCaption(FormatDateTime(clockLineFormat(datePattern, timePattern),
                                      m_platform.localDateTime(), m_formatSettings));
    if (!Timer1.Enabled())
        DrawTime();
}

void TForm1::HoverImage1Click()
{
    resetAll();
    m_actions->exec();
    rebuildSummary();
}

void TForm1::rebuildSummary()
{
    struct Word
    {
        const QCheckBox* box;
        const char16_t* word;
    };
    const Word words[] = {
        {m_actions->CheckBox1, u"警报; "}, {m_actions->CheckBox2, u"信息; "},
        {m_actions->CheckBox3, u"运行; "}, {m_actions->CheckBox4, u"关机; "},
        {m_actions->CheckBox7, u"URL; "},
    };
    QString line = QStringLiteral("操作: ");
    for (const Word& w : words) {
        if (w.box->isChecked())
            line += QString::fromUtf16(w.word);
    }
    Label4->setCaption(line);
}

void TForm1::HoverImage2Click()
{
    resetAll();
    if (m_setTime->exec() != TfrmSetTime::mrOk)
        return;
    // Hours, minutes, seconds, in that order: each read takes over valid typed text.
    const int h = m_setTime->UpDown3->Position();
    const int m = m_setTime->UpDown1->Position();
    const int s = m_setTime->UpDown2->Position();
    m_engine.SetDuration(h, m, s);
}

void TForm1::HoverImage3Click()
{
    m_engine.StartStopwatch();
}

void TForm1::HoverImage4MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        m_engine.AddMinute();
    else if (button == Qt::RightButton)
        m_engine.AddHour();
}

void TForm1::HoverImage5MouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        m_engine.SubtractMinute();
    else if (button == Qt::RightButton)
        m_engine.SubtractHour();
}

void TForm1::HoverImage6Click()
{
    resetAll();
    m_engine.StartCountdown();
}

void TForm1::HoverImage7Click()
{
    resetAll();
    m_engine.PauseTimer();
}

void TForm1::HoverImage8Click()
{
    m_engine.StopAndReset();
}

void TForm1::HoverImage9Click()
{
    close();
}

void TForm1::HoverImage10Click()
{
    m_platform.minimiseApplication();
}
