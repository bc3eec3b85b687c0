#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QWidget>

#include <functional>
#include <utility>

// Layout colours are stored as 0x00BBGGRR integers, red in the low byte.
QColor layoutColor(unsigned bgr);

// A copy of `picture` in which every pixel of the colour of its bottom-left pixel is see-through:
// the key is read afresh each time, so a recoloured picture keys correctly.
QImage keyedByBottomLeft(const QImage& picture);

// The click rule of every control: the left button pressed on it and released over it. The
// second press of a double click does not start one.
class LeftClick
{
public:
    void pressed(const QMouseEvent* event);
    void doublePressed() { m_armed = false; }
    // Whether this release completes a click on a control of `bounds`.
    bool released(const QMouseEvent* event, const QRect& bounds);

private:
    bool m_armed = false;
};

// A picture at its natural size from the top-left corner, clipped to the box. Center centres it
// instead (offsets may be negative); Transparent leaves out every pixel of the colour of the
// picture's bottom-left pixel, read afresh at each paint so recoloured pictures key correctly.
class TImage : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    // The picture's pixels belong to the control; code recolours them in place and repaints.
    QImage& Picture() { return m_picture; }
    const QImage& Picture() const { return m_picture; }
    void setPicture(const QImage& picture);

    bool Center = false;
    bool Transparent = false;
    // The control takes the picture's size whenever the picture changes.
    bool AutoSize = false;

    // Call after changing the picture's pixels or size in place: resizes an AutoSize control and
    // repaints.
    void pictureChanged();

    // Where the picture's top-left corner lands in the box.
    QPoint pictureOffset() const;

Q_SIGNALS:
    // Left button pressed and released over the control. The second press of a double click
    // raises OnMouseDown but no click, and the right and middle buttons never click.
    void OnClick();
    void OnMouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    LeftClick m_click;
};

// A line of text. Not Transparent: the box is first filled with its parent's colour.
class TLabel : public QLabel
{
    Q_OBJECT

public:
    TLabel(QWidget* parent, const QString& caption, const QFont& font, unsigned colourBgr,
           bool transparent);

    // AutoSize labels take the size of their text, growing to the right from their left edge.
    bool AutoSize = true;
    void setCaption(const QString& caption);
    void setFontColor(unsigned colourBgr);
    unsigned fontColor() const { return m_colour; }

Q_SIGNALS:
    void OnMouseEnter();
    void OnMouseLeave();
    // Left button pressed and released over the label; the second press of a double click
    // raises OnMouseDown but no click.
    void OnClick();
    void OnMouseDown(Qt::MouseButton button);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Hiding under the pointer counts as the pointer leaving.
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    unsigned m_colour = 0;
    bool m_underPointer = false;
    LeftClick m_click;
};

// A child window filled with its colour and framed by a 1-pixel lowered outer bevel.
class TPanel : public QWidget
{
    Q_OBJECT

public:
    TPanel(QWidget* parent, unsigned colourBgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};

// A rectangle code draws on. Drawing goes into the box's own picture, which every repaint shows,
// so what was drawn survives a dialog closing over it.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    TPaintBox(QWidget* parent, QSize size);

    QImage& Canvas() { return m_canvas; }
    const QImage& Canvas() const { return m_canvas; }

    // Repaints what drawing on the canvas changed since the last call, and only that: a
    // countdown tick usually changes one digit.
    void canvasChanged();

    // What the box shows, in words, for screen readers; worked out only when one asks.
    void setSpokenText(std::function<QString()> text) { m_spokenText = std::move(text); }
    QString spokenText() const { return m_spokenText ? m_spokenText() : QString(); }
    // Tells a listening screen reader what the box shows after a redraw, when that changed.
    // Without a reader it costs one check.
    void spokenTextChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_canvas;
    QImage m_shown;
    std::function<QString()> m_spokenText;
    QString m_spoken;
};
