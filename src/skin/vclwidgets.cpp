#include "skin/vclwidgets.h"

#include "skin/accessibility.h"
#include "skin/palette.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>
#include <utility>

QColor layoutColor(unsigned bgr)
{
    return QColor(int(bgr & 0xFFu), int((bgr >> 8) & 0xFFu), int((bgr >> 16) & 0xFFu));
}

QImage keyedByBottomLeft(const QImage& picture)
{
    if (picture.isNull())
        return picture;
    const QRgb key = picture.pixel(0, picture.height() - 1) | 0xFF000000u;
    QImage keyed = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            row[x] = (row[x] | 0xFF000000u) == key ? 0u : (row[x] | 0xFF000000u);
    }
    return keyed;
}

void LeftClick::pressed(const QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_armed = true;
}

bool LeftClick::released(const QMouseEvent* event, const QRect& bounds)
{
    if (event->button() != Qt::LeftButton)
        return false;
    const bool clicked = m_armed && bounds.contains(event->position().toPoint());
    m_armed = false;
    return clicked;
}

// ---------------------------------------------------------------------------------------------

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::setPicture(const QImage& picture)
{
    m_picture = picture;
    pictureChanged();
}

void TImage::pictureChanged()
{
    if (AutoSize && !m_picture.isNull())
        resize(m_picture.size());
    update();
}

QPoint TImage::pictureOffset() const
{
    if (!Center)
        return {0, 0};
    // Integer halves toward zero, as the layout's own centring does, negative when too large.
    return {(width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2};
}

void TImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    if (!Transparent) {
        painter.drawImage(pictureOffset(), m_picture);
        return;
    }
    painter.drawImage(pictureOffset(), keyedByBottomLeft(m_picture));
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    m_click.pressed(event);
    Q_EMIT OnMouseDown(event->button());
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other, but it never clicks.
    m_click.doublePressed();
    Q_EMIT OnMouseDown(event->button());
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_click.released(event, rect()))
        Q_EMIT OnClick();
}

// ---------------------------------------------------------------------------------------------

TLabel::TLabel(QWidget* parent, const QString& caption, const QFont& font, unsigned colourBgr,
               bool transparent)
    : QLabel(parent)
{
    setFont(font);
    setMargin(0);
    setIndent(0);
    setContentsMargins(0, 0, 0, 0);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(!transparent);
    if (!transparent && parent) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, parent->palette().color(QPalette::Window));
        setPalette(pal);
    }
    setFontColor(colourBgr);
    setCaption(caption);
}

void TLabel::setCaption(const QString& caption)
{
    setText(caption);
    if (AutoSize)
        resize(sizeHint());
}

void TLabel::setFontColor(unsigned colourBgr)
{
    m_colour = colourBgr;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, layoutColor(colourBgr));
    setPalette(pal);
}

void TLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    m_underPointer = true;
    Q_EMIT OnMouseEnter();
}

void TLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (std::exchange(m_underPointer, false))
        Q_EMIT OnMouseLeave();
}

void TLabel::hideEvent(QHideEvent* event)
{
    QLabel::hideEvent(event);
    // From the event loop, so a label going with its window raises nothing.
    if (std::exchange(m_underPointer, false))
        QMetaObject::invokeMethod(
            this, [this] { Q_EMIT OnMouseLeave(); }, Qt::QueuedConnection);
}

void TLabel::mousePressEvent(QMouseEvent* event)
{
    m_click.pressed(event);
    Q_EMIT OnMouseDown(event->button());
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_click.doublePressed();
    Q_EMIT OnMouseDown(event->button());
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_click.released(event, rect()))
        Q_EMIT OnClick();
}

// ---------------------------------------------------------------------------------------------

TPanel::TPanel(QWidget* parent, unsigned colourBgr)
    : QWidget(parent), m_colour(layoutColor(colourBgr))
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_colour);
    setPalette(pal);
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
    // Lowered: shadow along the top and left, highlight along the bottom and right.
    const int r = width() - 1;
    const int b = height() - 1;
    painter.setPen(SkinColours::BevelShadow);
    painter.drawLine(0, 0, r, 0);
    painter.drawLine(0, 0, 0, b);
    painter.setPen(SkinColours::BevelHighlight);
    painter.drawLine(0, b, r, b);
    painter.drawLine(r, 0, r, b);
}

// ---------------------------------------------------------------------------------------------

TPaintBox::TPaintBox(QWidget* parent, QSize size)
    : QWidget(parent), m_canvas(size, QImage::Format_RGB32)
{
    // Until something is drawn the box shows the black of the panel it lies on.
    m_canvas.fill(Qt::black);
    resize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installSkinAccessibility();
}

void TPaintBox::spokenTextChanged()
{
    if (!QAccessible::isActive())
        return;
    QString text = spokenText();
    if (text == m_spoken)
        return;
    m_spoken = std::move(text);
    // Static text is spoken by its name; readers that follow values hear the value change.
    QAccessibleValueChangeEvent value(this, m_spoken);
    QAccessible::updateAccessibility(&value);
    QAccessibleEvent name(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

void TPaintBox::canvasChanged()
{
    if (m_shown.size() != m_canvas.size() || m_shown.format() != m_canvas.format()) {
        m_shown = m_canvas.copy();
        update();
        return;
    }
    // Whole rows first, then the changed span of each changed row, eight pixels at a time until
    // the first difference; what changed is copied over so the next call compares afresh.
    constexpr int kBlock = 8;
    const int w = m_canvas.width();
    const auto rowBytes = static_cast<std::size_t>(w) * sizeof(QRgb);
    QRect dirty;
    for (int y = 0; y < m_canvas.height(); ++y) {
        const auto* now = reinterpret_cast<const QRgb*>(m_canvas.constScanLine(y));
        auto* before = reinterpret_cast<QRgb*>(m_shown.scanLine(y));
        if (std::memcmp(now, before, rowBytes) == 0)
            continue;
        int first = 0;
        while (first + kBlock <= w &&
               std::memcmp(now + first, before + first, sizeof(QRgb) * kBlock) == 0)
            first += kBlock;
        while (now[first] == before[first])
            ++first;
        int last = w - 1;
        while (last - kBlock >= first &&
               std::memcmp(now + last - kBlock + 1, before + last - kBlock + 1,
                           sizeof(QRgb) * kBlock) == 0)
            last -= kBlock;
        while (now[last] == before[last])
            --last;
        std::memcpy(before + first, now + first, sizeof(QRgb) * std::size_t(last - first + 1));
        dirty |= QRect(first, y, last - first + 1, 1);
    }
    if (!dirty.isEmpty())
        update(dirty);
}

void TPaintBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), m_canvas, event->rect());
}
