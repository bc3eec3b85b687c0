#include "skin/speedbutton.h"

#include "skin/accessibility.h"
#include "skin/palette.h"
#include "skin/vclwidgets.h"

#include <QMouseEvent>
#include <QPainter>

TSpeedButton::TSpeedButton(QWidget* parent, const QImage& glyph) : QWidget(parent), m_glyph(glyph)
{
    setAttribute(Qt::WA_Hover);
    installSkinAccessibility();
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int r = width() - 1;
    const int b = height() - 1;
    if (m_down || m_hovered) {
        const QColor light = SkinColours::BevelHighlight;
        const QColor dark = SkinColours::BevelShadow;
        painter.setPen(m_down ? dark : light);
        painter.drawLine(0, 0, r, 0);
        painter.drawLine(0, 0, 0, b);
        painter.setPen(m_down ? light : dark);
        painter.drawLine(0, b, r, b);
        painter.drawLine(r, 0, r, b);
    }
    if (m_glyph.isNull())
        return;
    // A pressed button shows its glyph one pixel down and to the right, as if pushed in.
    const QPoint at((width() - m_glyph.width()) / 2 + (m_down ? 1 : 0),
                    (height() - m_glyph.height()) / 2 + (m_down ? 1 : 0));
    painter.drawImage(at, keyedByBottomLeft(m_glyph));
}

void TSpeedButton::enterEvent(QEnterEvent*)
{
    m_hovered = true;
    update();
}

void TSpeedButton::leaveEvent(QEvent*)
{
    m_hovered = false;
    update();
}

void TSpeedButton::hideEvent(QHideEvent*)
{
    m_hovered = false;
    m_pressed = false;
    m_down = false;
}

void TSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    m_down = true;
    update();
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_down) {
        m_down = inside;
        update();
    }
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    const bool clicked = rect().contains(event->position().toPoint());
    m_pressed = false;
    m_down = false;
    update();
    if (clicked)
        Q_EMIT OnClick();
}
