#pragma once

#include <QWidget>

class QLineEdit;
class QTimer;

// Spin arrows attached to an edit (their buddy). The value lives in the edit's text: reading
// the position takes the text when it is a whole decimal number within the range, and otherwise
// keeps the last position without correcting the text. The arrows, and the Up and Down keys
// while the edit has the focus, step by one and stop at the ends; an arrow held down steps again
// after the style's delay and then at its rate, as a standard spin box does.
class TUpDown : public QWidget
{
    Q_OBJECT

public:
    TUpDown(QWidget* parent, QLineEdit* buddy, int min, int max, int position);

    // The current position, taken over from the buddy's text when that is valid.
    int Position();
    int Min() const { return m_min; }
    int Max() const { return m_max; }

    // One step up (+1) or down (-1) from the current position, written into the buddy.
    void step(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy;
    int m_min;
    int m_max;
    int m_position;
    int m_pressedHalf = 0; // +1 upper arrow held, -1 lower, 0 none
    QTimer* m_repeat;      // steps again while an arrow is held; named "repeat"
};
