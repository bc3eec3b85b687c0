#include "skin/skinnedwindow.h"

#include "assets/assettable.h"
#include "skin/vclwidgets.h"

#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Decodes a window's background at its first paint. The dialogs stay hidden until used, and
// their decoded backgrounds (over a megabyte together) need not sit in memory before then.
class BackgroundAtFirstPaint final : public QObject
{
public:
    BackgroundAtFirstPaint(TImage* image, QString window)
        : QObject(image), m_image(image), m_window(std::move(window))
    {
        image->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_image && event->type() == QEvent::Paint) {
            m_image->removeEventFilter(this);
            // Set in place: the paint under way shows it, no second paint is needed.
            m_image->Picture() = Assets::background(m_window);
            deleteLater();
        }
        return false;
    }

private:
    TImage* m_image;
    QString m_window;
};

} // namespace

QRegion roundRectRegion(QRect bounds, int ellipse)
{
    // Row by row: inside the corner bands each row is inset by where the corner ellipse crosses
    // the row's middle; the rows between the bands are whole.
    const double r = ellipse / 2.0;
    const int band = std::min({ellipse / 2, bounds.height() / 2, bounds.width() / 2});
    QRegion region;
    for (int row = 0; row < band; ++row) {
        const double dy = r - (row + 0.5);
        const double dx = std::sqrt(std::max(0.0, r * r - dy * dy));
        const int inset = int(std::lround(r - dx));
        const int width = bounds.width() - 2 * inset;
        if (width <= 0)
            continue;
        region += QRect(bounds.left() + inset, bounds.top() + row, width, 1);
        region += QRect(bounds.left() + inset, bounds.bottom() - row, width, 1);
    }
    region += QRect(bounds.left(), bounds.top() + band, bounds.width(), bounds.height() - 2 * band);
    return region;
}

QPoint snapToWorkArea(QPoint proposed, QSize size, QRect workArea, int distance)
{
    int x = proposed.x();
    int y = proposed.y();
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    if (std::abs(x - workArea.x()) < distance)
        x = workArea.x();
    if (std::abs(y - workArea.y()) < distance)
        y = workArea.y();
    if (std::abs(x + size.width() - right) < distance)
        x = right - size.width();
    if (std::abs(y + size.height() - bottom) < distance)
        y = bottom - size.height();
    return {x, y};
}

QPoint centredOn(QRect host, QSize size)
{
    return {host.x() + (host.width() - size.width()) / 2,
            host.y() + (host.height() - size.height()) / 2};
}

TImage* setUpSkinnedWindow(QWidget* window, QSize clientSize, std::optional<unsigned> windowColour)
{
    window->setFixedSize(clientSize);
    if (windowColour) {
        QPalette pal = window->palette();
        pal.setColor(QPalette::Window, layoutColor(*windowColour));
        window->setPalette(pal);
        window->setAutoFillBackground(true);
    }
    auto* image = new TImage(window);
    image->setObjectName(QStringLiteral("Image1"));
    image->setGeometry(window->rect());
    new BackgroundAtFirstPaint(image, window->objectName());
    image->lower();
    return image;
}

SkinnedWindow::SkinnedWindow(QWidget* window, std::function<QPoint()> placement, bool snapToScreen,
                             std::initializer_list<QWidget*> dragSources)
    : QObject(window), m_window(window), m_placement(std::move(placement)), m_snap(snapToScreen)
{
    m_window->setWindowFlag(Qt::FramelessWindowHint);
    m_window->installEventFilter(this);
    for (QWidget* source : dragSources)
        addDragSource(source);
}

void SkinnedWindow::ApplyWindowRegion(const QWidget* background)
{
    m_window->setMask(roundRectRegion(background->geometry()));
}

void SkinnedWindow::addDragSource(QWidget* source)
{
    source->installEventFilter(this);
}

void SkinnedWindow::moveTo(QPoint proposed)
{
    if (m_snap) {
        if (const QScreen* screen = m_window->screen())
            proposed = snapToWorkArea(proposed, m_window->size(), screen->availableGeometry());
    }
    m_window->move(proposed);
}

void SkinnedWindow::BeginWindowDrag(QPoint globalPress)
{
    // The press gave the source the mouse; every move until the release drags the window.
    m_dragging = true;
    m_grabOffset = globalPress - m_window->pos();
}

bool SkinnedWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        // The first showing places the window; later ones leave it where it was left. The show
        // event comes before the window reaches the screen, so it never appears elsewhere first.
        if (event->type() == QEvent::Show && !m_placed) {
            m_placed = true;
            moveTo(m_placement());
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        BeginWindowDrag(mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            moveTo(mouse->globalPosition().toPoint() - m_grabOffset);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_dragging) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton)
                m_dragging = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}
