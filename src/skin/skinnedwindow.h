#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <functional>
#include <initializer_list>
#include <optional>

class QWidget;
class TImage;

// The rounded-rectangle region of a window whose background picture has `bounds`: each corner
// is cut by an ellipse of `ellipse` x `ellipse` pixels.
QRegion roundRectRegion(QRect bounds, int ellipse = 60);

// Where a window of `size` proposed at `proposed` ends when snapped to `workArea`: each edge
// within `distance` pixels of the matching work-area edge moves onto it; left, top, right, bottom
// in that order, so a window near both side edges ends on the right.
QPoint snapToWorkArea(QPoint proposed, QSize size, QRect workArea, int distance = 10);

// Centred on `host`, halves truncated toward zero and not clamped to any screen.
QPoint centredOn(QRect host, QSize size);

// The first step of every skinned window, taken before its controls so the background stays at
// the back: fixes the window's size, fills it with `windowColour` (0x00BBGGRR) where it has one,
// and returns its background picture `Image1`, drawn unscaled from the top-left corner over the
// whole client area and decoded when it is first painted. The frame follows once the controls
// exist.
TImage* setUpSkinnedWindow(QWidget* window, QSize clientSize,
                           std::optional<unsigned> windowColour = std::nullopt);

// The frame every window shares: borderless, cut to a rounded region, placed by a rule the first
// time it is shown and wherever it was left afterwards, and moved by a press of any mouse button
// on its background or title. A window that snaps keeps to its screen's work area as it moves.
class SkinnedWindow : public QObject
{
    Q_OBJECT

public:
    // `placement` gives the position at first showing; a press on any of `dragSources` (the
    // background and the title) moves the window.
    SkinnedWindow(QWidget* window, std::function<QPoint()> placement, bool snapToScreen,
                  std::initializer_list<QWidget*> dragSources);

    // Cuts the window to the rounded region of `background`'s bounds; set once at creation.
    void ApplyWindowRegion(const QWidget* background);

    // Moves the window to `proposed`, snapped when the window snaps.
    void moveTo(QPoint proposed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A press of any mouse button on `source` starts moving the window with the pointer.
    void addDragSource(QWidget* source);
    void BeginWindowDrag(QPoint globalPress);

    QWidget* m_window;
    std::function<QPoint()> m_placement;
    bool m_snap;
    bool m_placed = false;
    bool m_dragging = false;
    QPoint m_grabOffset;
};
