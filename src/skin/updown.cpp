#include "skin/updown.h"

#include "skin/accessibility.h"
#include "skin/palette.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QTimer>

#include <algorithm>

TUpDown::TUpDown(QWidget* parent, QLineEdit* buddy, int min, int max, int position)
    : QWidget(parent), m_buddy(buddy), m_min(min), m_max(max), m_position(position),
      m_repeat(new QTimer(this))
{
    setFocusPolicy(Qt::NoFocus);
    m_repeat->setObjectName(QStringLiteral("repeat"));
    connect(m_repeat, &QTimer::timeout, this, [this] {
        // After the first, longer wait the steps come at the style's rate.
        m_repeat->setInterval(
            style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
        step(m_pressedHalf);
    });
    m_buddy->setText(QString::number(m_position));
    m_buddy->installEventFilter(this);
    installSkinAccessibility();
}

int TUpDown::Position()
{
    bool ok = false;
    const int typed = m_buddy->text().trimmed().toInt(&ok, 10);
    if (ok && typed >= m_min && typed <= m_max)
        m_position = typed;
    return m_position;
}

void TUpDown::step(int delta)
{
    const int current = Position();
    const int next = std::clamp(current + delta, m_min, m_max);
    // At an end nothing changes, not even text the user typed.
    if (next == current)
        return;
    m_position = next;
    m_buddy->setText(QString::number(m_position));
}

void TUpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        const QRect r = halves[i];
        const bool down = m_pressedHalf == (i == 0 ? 1 : -1);
        painter.fillRect(r, SkinColours::BevelFace);
        painter.setPen(down ? SkinColours::BevelShadow : SkinColours::BevelHighlight);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(down ? SkinColours::BevelHighlight : SkinColours::BevelDarkShadow);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        // A small black triangle pointing up or down.
        const int cx = r.center().x();
        const int cy = r.center().y();
        const int dir = i == 0 ? -1 : 1;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        const QPoint tri[] = {QPoint(cx - 3, cy - dir), QPoint(cx + 3, cy - dir),
                              QPoint(cx, cy + 2 * dir)};
        painter.drawPolygon(tri, 3);
    }
}

void TUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedHalf = event->position().y() < height() / 2.0 ? 1 : -1;
    step(m_pressedHalf);
    m_repeat->start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
    update();
}

void TUpDown::mouseReleaseEvent(QMouseEvent*)
{
    m_repeat->stop();
    m_pressedHalf = 0;
    update();
}

void TUpDown::hideEvent(QHideEvent* event)
{
    // A dialog that closes while an arrow is held must not step on behind the user's back.
    m_repeat->stop();
    m_pressedHalf = 0;
    QWidget::hideEvent(event);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
