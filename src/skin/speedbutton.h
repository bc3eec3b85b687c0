#pragma once

#include <QImage>
#include <QWidget>

// A flat glyph button: no frame while the pointer is elsewhere, a thin raised frame under the
// pointer, sunken while pressed. The glyph is centred and keyed by its bottom-left pixel.
class TSpeedButton : public QWidget
{
    Q_OBJECT

public:
    TSpeedButton(QWidget* parent, const QImage& glyph);

    bool isHovered() const { return m_hovered; }
    bool isDown() const { return m_down; }

Q_SIGNALS:
    void OnClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Hidden under the pointer, the button drops its frame as if the pointer had left.
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_glyph;
    bool m_hovered = false;
    bool m_pressed = false;
    bool m_down = false;
};
