#include "skin/accessibility.h"

#include "skin/hoverimage.h"
#include "skin/speedbutton.h"
#include "skin/updown.h"
#include "skin/vclwidgets.h"

#include <QAccessibleWidget>
#include <QMetaObject>

namespace {

// A picture or flat button, pressed by a screen reader as by a left click.
class SkinButton final : public QAccessibleWidget
{
public:
    explicit SkinButton(QWidget* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (s.isEmpty() && (t == QAccessible::Name || t == QAccessible::Description)) {
            if (const auto* picture = qobject_cast<const THoverImage*>(widget()))
                s = picture->Hint;
        }
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        QWidget* w = widget();
        if (!w->isEnabled())
            return;
        // Run once the reader's request has returned: a button may open a modal dialog, and the
        // reader would otherwise wait for its answer until the dialog closed.
        QMetaObject::invokeMethod(
            w, [w] { click(w); }, Qt::QueuedConnection);
    }

private:
    static void click(QWidget* w)
    {
        if (auto* picture = qobject_cast<THoverImage*>(w)) {
            // The press first, as a mouse gives it: the add and subtract buttons act on it.
            Q_EMIT picture->OnMouseDown(Qt::LeftButton);
            Q_EMIT picture->OnClick();
        } else if (auto* flat = qobject_cast<TSpeedButton*>(w)) {
            Q_EMIT flat->OnClick();
        }
    }
};

// Spin arrows: a spin box whose value is their field's, stepped by one either way.
class SkinSpin final : public QAccessibleWidget
{
public:
    explicit SkinSpin(TUpDown* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(spin()->Position());
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override
    {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        const int delta = action == increaseAction() ? 1 : action == decreaseAction() ? -1 : 0;
        if (delta == 0)
            QAccessibleWidget::doAction(action);
        else if (spin()->isEnabled())
            spin()->step(delta);
    }

private:
    TUpDown* spin() const { return static_cast<TUpDown*>(widget()); }
};

// A paint box read as the text it shows.
class SkinReadout final : public QAccessibleWidget
{
public:
    explicit SkinReadout(TPaintBox* box) : QAccessibleWidget(box, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name || t == QAccessible::Value) {
            const QString shown = static_cast<const TPaintBox*>(widget())->spokenText();
            if (!shown.isEmpty())
                return shown;
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* skinInterface(const QString&, QObject* object)
{
    if (qobject_cast<THoverImage*>(object) || qobject_cast<TSpeedButton*>(object))
        return new SkinButton(static_cast<QWidget*>(object));
    if (auto* spin = qobject_cast<TUpDown*>(object))
        return new SkinSpin(spin);
    if (auto* box = qobject_cast<TPaintBox*>(object))
        return new SkinReadout(box);
    return nullptr;
}

} // namespace

void installSkinAccessibility()
{
    static const bool installed = (QAccessible::installFactory(skinInterface), true);
    Q_UNUSED(installed);
}

void setAccessibleTexts(std::initializer_list<AccessibleText> texts)
{
    for (const AccessibleText& t : texts) {
        if (t.name)
            t.widget->setAccessibleName(QString::fromUtf16(t.name));
        if (t.description)
            t.widget->setAccessibleDescription(QString::fromUtf16(t.description));
    }
}
