#include "app/view/window_view.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <algorithm>
#include <utility>

#include "app/session.h"
#include "app/view/field_label.h"
#include "app/view/frame_box.h"
#include "app/view/meter_bar.h"
#include "app/view/qt_frontend.h"
#include "window/layout.h"

namespace si32 {
namespace {

// A label that shows a fact, not a caption or a heading.
bool isValueField(const Control& control) {
    return control.kind == ControlKind::Label && !control.autoSize && control.alignment == Align::Left;
}

QPlainTextEdit* makeTextBox(QWidget* container) {
    auto* box = new QPlainTextEdit(container);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setTabChangesFocus(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The box's design height holds three lines of the dialog font with
    // nothing to spare: the document's own margin would hide the third.
    box->document()->setDocumentMargin(0);
    return box;
}

FieldLabel* makeLabel(const Control& control, QWidget* container) {
    auto* label = new FieldLabel(container);
    const Qt::Alignment side = control.alignment == Align::Right ? Qt::AlignRight : Qt::AlignLeft;
    label->setAlignment(side | Qt::AlignTop);
    label->setWordWrap(control.wordWrap);
    if (isValueField(control)) label->makeSelectable();
    return label;
}

}  // namespace

QWidget* WindowView::makeWidget(const Control& control, QWidget* container) {
    switch (control.kind) {
        case ControlKind::Frame: return new FrameBox(container);
        case ControlKind::Meter: return new MeterBar(container);
        case ControlKind::Label: return makeLabel(control, container);
        case ControlKind::TextBox: return makeTextBox(container);
        case ControlKind::DriveList: {
            driveList_ = new QComboBox(container);
            connect(driveList_, &QComboBox::activated, this, [this](int row) { pickDrive(row); });
            return driveList_;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(container);
            // Enter presses the button that has the focus, as on the desktop
            // the window was made for.
            button->setAutoDefault(true);
            connect(button, &QPushButton::clicked, this,
                    [this] { forward([this] { session_.mod.Command2_Click(); }); });
            return button;
        }
    }
    return nullptr;
}

void WindowView::build() {
    const auto& controls = session_.form.controls();
    // Containers first: a control's container may come later in the design.
    for (const bool containers : {true, false}) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const Control& control = controls[i];
            if (control.container.empty() != containers) continue;
            QWidget* container = containers ? this : byKey_.at(control.container);
            QWidget* widget = makeWidget(control, container);
            widget->setObjectName(QString::fromStdString(control.key()));
            widget->setGeometry(scale_.rect(control.geometry));
            byKey_.emplace(control.key(), widget);
            bound_.push_back({i, widget, {}, std::nullopt});
        }
    }
}

QSize WindowView::scrollIfTooBig(const QSize& client) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return client;
    const QSize room = screen->availableGeometry().size().shrunkBy(expectedFrameMargins());
    if (client.width() <= room.width() && client.height() <= room.height()) return client;
    // Even at the smallest legible size the window is larger than the
    // screen: its controls move onto a canvas that scrolls.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    auto* canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->setFixedSize(client);
    for (auto& bound : bound_)
        if (bound.widget->parentWidget() == this) {
            bound.widget->setParent(canvas);
            bound.widget->show();
        }
    scroller->setWidget(canvas);
    const QSize shown = client.boundedTo(room);
    scroller->setGeometry(QRect(QPoint(0, 0), shown));
    return shown;
}

void WindowView::orderTabs() {
    std::vector<std::pair<int32_t, QWidget*>> stops;
    for (const auto& bound : bound_)
        if (bound.widget->focusPolicy() & Qt::TabFocus)
            stops.emplace_back(session_.form.controls()[bound.control].tabIndex, bound.widget);
    std::sort(stops.begin(), stops.end());
    for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].second, stops[i].second);
}

}  // namespace si32
