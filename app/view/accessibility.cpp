#include "app/view/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

#include "app/view/field_label.h"
#include "app/view/frame_box.h"
#include "app/view/meter_bar.h"

namespace si32 {
namespace {

constexpr char kQuietDescription[] = "si32QuietDescription";

// A meter only shows. Qt's bridges offer Increase and Decrease on anything
// with a value interface, so the meter has none: its percentage is in its
// name and its value text.
class MeterAccessible : public QAccessibleWidget {
public:
    explicit MeterAccessible(MeterBar* meter) : QAccessibleWidget(meter, QAccessible::ProgressBar) {}

    QString text(QAccessible::Text t) const override {
        const QString figure = QString::number(meter().shownPercent()) + QLatin1Char('%');
        if (t == QAccessible::Value) return figure;
        if (t == QAccessible::Name) {
            const QString caption = QAccessibleWidget::text(QAccessible::Name);
            return caption.isEmpty() ? figure : caption + QLatin1Char(' ') + figure;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.focusable = false;
        return s;
    }

private:
    const MeterBar& meter() const { return *static_cast<const MeterBar*>(object()); }
};

class FieldAccessible : public QAccessibleWidget {
public:
    explicit FieldAccessible(FieldLabel* field) : QAccessibleWidget(field, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && field().accessibleName().isEmpty()) return field().text();
        if (t == QAccessible::Value) return field().text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.selectableText = field().isSelectable();
        // A value takes the focus a click gives it, even before its first.
        s.focusable = s.focusable || field().isSelectable();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (field().isSelectable() && !names.contains(QAccessibleActionInterface::setFocusAction()))
            names.append(QAccessibleActionInterface::setFocusAction());
        return names;
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::setFocusAction() && field().isSelectable()) {
            const_cast<FieldLabel&>(field()).setFocus(Qt::OtherFocusReason);
            return;
        }
        QAccessibleWidget::doAction(action);
    }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> found;
        if ((match & QAccessible::Label) && field().caption() != nullptr)
            found.append({QAccessible::queryAccessibleInterface(field().caption()), QAccessible::Label});
        if (match & QAccessible::Labelled) {
            for (FieldLabel* value : field().captioned())
                found.append({QAccessible::queryAccessibleInterface(value), QAccessible::Labelled});
            // A list or meter under the caption is its buddy.
            if (QWidget* buddy = field().buddy(); buddy != nullptr && dynamic_cast<FieldLabel*>(buddy) == nullptr)
                found.append({QAccessible::queryAccessibleInterface(buddy), QAccessible::Labelled});
        }
        return found;
    }

private:
    const FieldLabel& field() const { return *static_cast<const FieldLabel*>(object()); }
};

// The drive list. Qt's own combo box on Linux reports its current entry as
// its name, so a screen reader would say "c: [SYSTEM] combo box"; this one
// is named by its accessible name and gives the entry as its value and as
// its read-only text, which is where screen readers look for the entry of
// a list that offers no selection. Its one child is the list that drops
// down.
class DriveListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit DriveListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(int start, int end) const override { return list().currentText().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(list().currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return list().currentText();
        if (t == QAccessible::Name && list().accessibleName().isEmpty()) return list().currentText();
        if (t == QAccessible::Description && list().accessibleDescription().isEmpty()) return quietDescription(list());
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list().view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == list().view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list().view()->isVisible();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{QAccessibleActionInterface::showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::showMenuAction() ||
            action == QAccessibleActionInterface::pressAction()) {
            static_cast<QComboBox*>(object())->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    const QComboBox& list() const { return *static_cast<const QComboBox*>(object()); }
};

QAccessibleInterface* windowWidgets(const QString&, QObject* object) {
    if (auto* list = qobject_cast<QComboBox*>(object); list != nullptr && list->objectName() == QLatin1String("Drive1"))
        return new DriveListAccessible(list);
    if (auto* meter = dynamic_cast<MeterBar*>(object)) return new MeterAccessible(meter);
    if (auto* field = dynamic_cast<FieldLabel*>(object)) return new FieldAccessible(field);
    if (auto* notice = dynamic_cast<SpokenNotice*>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    if (auto* frame = dynamic_cast<FrameBox*>(object)) return new QAccessibleWidget(frame, QAccessible::Grouping);
    // The main window, which would otherwise be a plain client area.
    if (auto* widget = qobject_cast<QWidget*>(object);
        widget != nullptr && widget->isWindow() && widget->objectName() == QLatin1String("si9x"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

SpokenNotice::SpokenNotice(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // It stands on one pixel of the window and paints nothing there.
    setGeometry(0, 0, 1, 1);
    hide();
}

void SpokenNotice::announce(const QString& what, const QString& details) {
    setAccessibleName(what);
    setAccessibleDescription(details);
    // Appearing is what is announced: shown again, it is spoken again.
    hide();
    show();
}

void setQuietDescription(QWidget& widget, const QString& description) {
    widget.setProperty(kQuietDescription, description);
}

QString quietDescription(const QWidget& widget) { return widget.property(kQuietDescription).toString(); }

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(windowWidgets);
        return true;
    }();
    (void)installed;
}

}  // namespace si32
