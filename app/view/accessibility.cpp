#include "app/view/accessibility.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "app/view/frame_box.h"
#include "app/view/meter_bar.h"

namespace si32 {
namespace {

class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit MeterAccessible(MeterBar* meter) : QAccessibleWidget(meter, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(meter().shownPercent()) + QLatin1Char('%');
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return meter().shownPercent(); }
    // The meter only shows; nobody sets it.
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const MeterBar& meter() const { return *static_cast<const MeterBar*>(object()); }
};

QAccessibleInterface* windowWidgets(const QString&, QObject* object) {
    if (auto* meter = dynamic_cast<MeterBar*>(object)) return new MeterAccessible(meter);
    if (auto* frame = dynamic_cast<FrameBox*>(object)) return new QAccessibleWidget(frame, QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void installAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(windowWidgets);
        return true;
    }();
    (void)installed;
}

}  // namespace si32
