#include "app/view/window_view.h"

#include <algorithm>
#include <vector>

#include "app/session.h"
#include "app/view/field_fit.h"
#include "app/view/field_label.h"
#include "app/view/qt_text.h"

namespace si32 {
namespace {

// Left between a grown value field and its frame's etched edge.
constexpr int32_t kFrameInsetTwips = 60;

}  // namespace

void WindowView::fitToText(QWidget& widget, const Control& control) const {
    const QRect design = scale_.rect(control.geometry);
    const QSize size = static_cast<FieldLabel&>(widget).textSize(design.width());
    // A right-aligned caption keeps its right edge, so that it still lines
    // up with the captions above and below it.
    const int left = control.alignment == Align::Right ? design.left() + design.width() - size.width() : design.left();
    widget.setGeometry(left, design.top(), size.width(), size.height());
}

std::vector<FieldPlace> WindowView::fieldPlaces(std::vector<QWidget*>& containers) const {
    std::vector<FieldPlace> places;
    for (const auto& bound : bound_) {
        const Control& control = session_.form.controls()[bound.control];
        QWidget* container = bound.widget->parentWidget();
        auto at = std::find(containers.begin(), containers.end(), container);
        if (at == containers.end()) at = containers.insert(containers.end(), container);
        FieldPlace place;
        place.design = scale_.rect(control.geometry);
        place.occupied = place.design | bound.widget->geometry();
        place.container = static_cast<int>(at - containers.begin());
        place.visible = control.visible;
        place.value = control.kind == ControlKind::Label && !control.autoSize;
        place.oneLine = place.value && !control.wordWrap;
        place.movable = place.oneLine && control.alignment == Align::Left;
        if (place.oneLine)
            place.needed = static_cast<FieldLabel&>(*bound.widget).textSize(place.design.width()).width();
        places.push_back(place);
    }
    return places;
}

void WindowView::fitValues() {
    std::vector<QWidget*> containers;
    const std::vector<FieldPlace> places = fieldPlaces(containers);
    std::vector<int> innerEdge;
    for (const QWidget* container : containers) innerEdge.push_back(container->width() - scale_.x(kFrameInsetTwips));
    const std::vector<QRect> shown = fitFields(places, innerEdge);
    for (std::size_t i = 0; i < bound_.size(); ++i) {
        if (!places[i].value) continue;
        const Control& control = session_.form.controls()[bound_[i].control];
        auto& label = static_cast<FieldLabel&>(*bound_[i].widget);
        if (label.geometry() != shown[i]) label.setGeometry(shown[i]);
        QString tip = fromModelText(control.tooltip, session_.CodePage);
        // A field that cuts its text carries it whole, for the mouse and
        // for assistive technology alike.
        const bool cut = label.isCut();
        if (cut) tip = label.text();
        const QString description = cut ? label.text() : QString();
        if (label.accessibleDescription() != description) label.setAccessibleDescription(description);
        showTip(label, control, tip);
    }
}

}  // namespace si32
