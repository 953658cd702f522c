#include "app/view/window_view.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <array>
#include <utility>

#include "app/layout.h"
#include "app/report.h"
#include "app/session.h"
#include "app/startup.h"
#include "app/taskbar.h"
#include "app/view/accessibility.h"
#include "app/view/app_icon.h"
#include "app/view/backdrop_view.h"
#include "app/view/copy_menu.h"
#include "app/view/dialog_font.h"
#include "app/view/field_label.h"
#include "app/view/frame_box.h"
#include "app/view/key_codes.h"
#include "app/view/meter_bar.h"
#include "app/view/qt_frontend.h"
#include "app/view/qt_text.h"
#include "app/view/view_colours.h"
#include "platform/guarded.h"

namespace si32 {
namespace {

// Left between a grown value field and its frame's etched edge.
constexpr int32_t kFrameInsetTwips = 60;
// How long a shown window may wait for the display to activate it before
// start-up ends without that (a Wayland compositor may never activate it).
constexpr int kActivationGraceMs = 200;

// The smallest dialog font, in pixels, that still reads; a window that
// would need smaller scrolls instead.
constexpr double kLegiblePixels = 9;

// How much smaller than its design the window is drawn so that it and its
// frame fit the screen's work area: 1 where they fit, never below the
// legible font size.
double fitZoom(const QScreen* screen) {
    if (screen == nullptr) return 1;
    const TwipsScale design = TwipsScale::of(screen);
    const QMargins frame = expectedFrameMargins();
    const QRect work = screen->availableGeometry();
    const double across = double(work.width() - frame.left() - frame.right()) / design.x(kClientWidthTwips);
    const double down = double(work.height() - frame.top() - frame.bottom()) / design.y(kClientHeightTwips);
    const double fits = std::min({1.0, across, down});
    const double legible = kLegiblePixels / (kDialogFontPoints * screen->logicalDotsPerInchY() / 72);
    return std::clamp(fits, std::min(1.0, legible), 1.0);
}

TwipsScale zoomed(const QScreen* screen, double zoom) {
    const TwipsScale design = TwipsScale::of(screen);
    return {1440 / design.perPixelX() * zoom, 1440 / design.perPixelY() * zoom};
}

// Where the compositor alone decides window positions (xdg-shell).
bool compositorPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

// A caption as a name: without its access-key marker and its colon.
QString captionName(const std::string& caption) {
    QString name = fromModelText(caption).remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name;
}

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
    // Values can be selected and copied; a click gives one the focus, Tab
    // never does, so the window's tab stops stay as designed.
    if (isValueField(control)) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::ClickFocus);
    }
    return label;
}

// The control that a key press reaches first, as Qt delivers it.
QWidget* firstKeyReceiver(QWidget& widget) {
    if (QWidget* grabber = QWidget::keyboardGrabber()) return grabber;
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    QWidget* window = widget.window();
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
}

}  // namespace

WindowView::WindowView(Session& session)
    : QWidget(nullptr, Qt::Window | fixedDialogFlags()),
      session_(session),
      zoom_(fitZoom(QGuiApplication::primaryScreen())),
      scale_(zoomed(QGuiApplication::primaryScreen(), zoom_)) {
    setObjectName(QStringLiteral("si9x"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setWindowIcon(windowIcon());
    setFont(dialogFont(session_.form.controls(), scale_, zoom_));
    installAccessibleInterfaces();
    const QSize client(scale_.x(kClientWidthTwips), scale_.y(kClientHeightTwips));
    build();
    orderTabs();
    setFixedSize(scrollIfTooBig(client));
    backdrop_ = std::make_unique<BackdropView>(
        session_.backdrop, [this](int32_t left, int32_t top) { return onScreen(left, top); }, client, windowIcon(),
        [this] { return onScreen(session_.form.Left, session_.form.Top); });
    session_.form.OnEnd = [this] { endNow(); };
    qApp->installEventFilter(this);
    sync();
}

WindowView::~WindowView() {
    qApp->removeEventFilter(this);
    session_.form.OnEnd = nullptr;
}

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
            bound_.push_back({i, widget, {}});
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

void WindowView::sync() {
    for (auto& bound : bound_) syncControl(bound);
    fitValues();
    nameForScreenReaders();
}

void WindowView::nameForScreenReaders() {
    const auto& form = session_.form;
    const auto setName = [](QWidget& widget, const QString& name) {
        if (widget.accessibleName() != name) widget.setAccessibleName(name);
    };
    QStringList driveInfo;
    for (const char* frame : {"SSFrame1", "SSFrame2", "SSFrame3"}) {
        for (const CaptionedRow& row : CaptionedRows(form, frame)) {
            const QString caption = row.caption != nullptr ? captionName(row.caption->text) : QStringLiteral("Drive");
            const QString spoken = caption + QLatin1Char(':');
            auto* captionLabel =
                row.caption != nullptr ? dynamic_cast<FieldLabel*>(controlWidget(row.caption->key())) : nullptr;
            for (const Control* value : row.values) {
                QWidget* widget = controlWidget(value->key());
                if (widget == nullptr) continue;
                auto* field = dynamic_cast<FieldLabel*>(widget);
                if (field == nullptr) {
                    // Lists and meters are named by the caption over them.
                    setName(*widget, caption);
                    if (captionLabel != nullptr && captionLabel->buddy() == nullptr) captionLabel->setBuddy(widget);
                    continue;
                }
                if (captionLabel != nullptr) {
                    field->setCaption(captionLabel);
                    if (captionLabel->buddy() == nullptr) captionLabel->setBuddy(field);
                }
                // A screen reader that reads the value alone still hears
                // which fact it is.
                const QString text = field->text().trimmed();
                setName(*field, text.isEmpty() ? spoken : spoken + QLatin1Char(' ') + text);
                if (std::string_view(frame) == "SSFrame3" && value->visible && !text.isEmpty())
                    driveInfo << field->accessibleName();
            }
        }
    }
    // A drive pick rewrites the frame under the list: the list's
    // description tells what it now shows, and changing it is announced.
    if (driveList_ != nullptr) {
        const QString description = driveInfo.join(QStringLiteral(", "));
        if (driveList_->accessibleDescription() != description) driveList_->setAccessibleDescription(description);
    }
}

void WindowView::syncControl(Bound& bound) {
    const Control& control = session_.form.controls()[bound.control];
    QWidget& widget = *bound.widget;
    QString tip = fromModelText(control.tooltip, session_.CodePage);
    switch (control.kind) {
        case ControlKind::Frame:
            static_cast<FrameBox&>(widget).setCaption(fromModelText(control.text, session_.CodePage));
            break;
        case ControlKind::Meter: static_cast<MeterBar&>(widget).setPercent(control.percent); break;
        case ControlKind::Label:
            static_cast<FieldLabel&>(widget).setText(fromModelText(control.text, session_.CodePage));
            // Value fields are sized once every text is in: one may push
            // the next field on its line aside.
            if (!control.autoSize) return;
            fitToText(widget, control);
            break;
        case ControlKind::TextBox:
            if (bound.shownText != control.text) {
                bound.shownText = control.text;
                static_cast<QPlainTextEdit&>(widget).setPlainText(fromModelText(control.text, session_.CodePage));
            }
            break;
        case ControlKind::DriveList: syncDriveList(control); break;
        case ControlKind::Button:
            static_cast<QPushButton&>(widget).setText(fromModelText(control.text, session_.CodePage));
            break;
    }
    showTip(widget, control, tip);
}

void WindowView::showTip(QWidget& widget, const Control& control, const QString& tip) {
    if (widget.toolTip() != tip) widget.setToolTip(tip);
    if (widget.isHidden() == control.visible) widget.setVisible(control.visible);
}

void WindowView::fitValues() {
    std::vector<Bound*> values;
    for (auto& bound : bound_) {
        const Control& control = session_.form.controls()[bound.control];
        if (control.kind == ControlKind::Label && !control.autoSize) values.push_back(&bound);
    }
    // Left to right along each line, so that a field pushed aside is sized
    // after the one that pushed it.
    std::stable_sort(values.begin(), values.end(), [this](const Bound* a, const Bound* b) {
        return session_.form.controls()[a->control].geometry.left < session_.form.controls()[b->control].geometry.left;
    });
    std::unordered_map<const QWidget*, int> pushed;
    for (Bound* bound : values) {
        const Control& control = session_.form.controls()[bound->control];
        auto& label = static_cast<FieldLabel&>(*bound->widget);
        fitValue(label, control, pushed);
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

void WindowView::syncDriveList(const Control& control) {
    const QSignalBlocker quiet(driveList_);
    const auto& entries = session_.form.Drive1Entries;
    if (driveEntries_ != entries) {
        driveEntries_ = entries;
        driveList_->clear();
        for (const auto& entry : driveEntries_) driveList_->addItem(fromModelText(entry, session_.CodePage));
    }
    const auto at = std::find(driveEntries_.begin(), driveEntries_.end(), control.text);
    driveList_->setCurrentIndex(at == driveEntries_.end() ? -1 : static_cast<int>(at - driveEntries_.begin()));
}

void WindowView::fitToText(QWidget& widget, const Control& control) const {
    const QRect design = scale_.rect(control.geometry);
    const QSize size = static_cast<FieldLabel&>(widget).textSize(design.width());
    // A right-aligned caption keeps its right edge, so that it still lines
    // up with the captions above and below it.
    const int left = control.alignment == Align::Right ? design.left() + design.width() - size.width() : design.left();
    widget.setGeometry(left, design.top(), size.width(), size.height());
}

void WindowView::fitValue(FieldLabel& label, const Control& control, std::unordered_map<const QWidget*, int>& pushed) {
    const QRect design = scale_.rect(control.geometry).translated(pushed[&label], 0);
    QRect shown = design;
    if (!label.wordWrap()) {
        const int needed = label.textSize(design.width()).width();
        if (needed > design.width()) {
            const Limit limit = growthLimit(label, design);
            int room = limit.right - design.left();
            if (needed > room && limit.by != nullptr) room += pushAside(*limit.by, needed - room, pushed);
            shown.setWidth(std::max(design.width(), std::min(needed, room)));
        }
    }
    if (label.geometry() != shown) label.setGeometry(shown);
}

int WindowView::pushAside(const Bound& next, int wanted, std::unordered_map<const QWidget*, int>& pushed) {
    // Only a plain field that its own text leaves room in moves: the second
    // unit of a size, which reads as well a little further right.
    const Control& control = session_.form.controls()[next.control];
    auto* label = dynamic_cast<FieldLabel*>(next.widget);
    if (label == nullptr || control.autoSize || control.wordWrap || control.alignment != Align::Left) return 0;
    const QRect design = scale_.rect(control.geometry);
    const int edge = label->parentWidget()->width() - scale_.x(kFrameInsetTwips);
    const int spare = edge - design.left() - label->textSize(design.width()).width();
    const int by = std::clamp(wanted, 0, std::max(0, spare));
    pushed[label] = by;
    return by;
}

WindowView::Limit WindowView::growthLimit(const QWidget& widget, const QRect& design) const {
    const QWidget& container = *widget.parentWidget();
    Limit limit{container.width() - scale_.x(kFrameInsetTwips), nullptr};
    // Never over a control further right on the same line.
    for (const auto& other : bound_) {
        if (other.widget == &widget || other.widget->parentWidget() != &container ||
            !session_.form.controls()[other.control].visible)
            continue;
        const QRect r = scale_.rect(session_.form.controls()[other.control].geometry) | other.widget->geometry();
        if (r.left() > design.left() && r.top() <= design.bottom() && r.bottom() >= design.top() &&
            r.left() - 1 < limit.right)
            limit = {r.left() - 1, &other};
    }
    return limit;
}

void WindowView::applyFocus() {
    const auto it = byKey_.find(session_.form.Focused);
    if (it != byKey_.end()) it->second->setFocus(Qt::OtherFocusReason);
}

void WindowView::forward(const std::function<void()>& handler, bool focusFromModel) {
    Si9x& form = session_.form;
    if (form.Ended) return;
    const std::string focusBefore = form.Focused;
    // Handlers guard their own statements; a failure that still escapes one
    // is skipped like any other failed statement rather than ending the
    // program from inside Qt's event loop.
    guarded(handler);
    if (form.Ended) return;
    sync();
    if (focusFromModel || form.Focused != focusBefore) applyFocus();
}

void WindowView::pickDrive(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= driveEntries_.size()) return;
    const std::string entry = driveEntries_[static_cast<std::size_t>(row)];
    forward([&] { guarded([&] { session_.form.SetDrive1(entry); }); });
}

void WindowView::endNow() {
    // The end is immediate: no window of the program stays on the screen.
    backdrop_.reset();
    hide();
    if (onEnded) onEnded();
}

bool WindowView::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate) {
        forward([this] { Form_Activate(session_); }, true);
        if (!session_.form.Ended && onActivated) onActivated();
        settle();
    } else if (event->type() == QEvent::Paint && started_ && !settled_) {
        // Drawn means shown; a display that activates the window does so
        // within the grace, one that never does must not keep the backdrop.
        QTimer::singleShot(kActivationGraceMs, this, [this] { settle(); });
    }
    return handled;
}

bool WindowView::inDriveList(const QWidget& widget) const {
    if (driveList_ == nullptr) return false;
    return &widget == driveList_ || widget.window() == driveList_->view()->window();
}

QString WindowView::reportText() const {
    ReportExtras extras;
    extras.started = session_.platform.files.Started();
    if (shownMessages) extras.messages = shownMessages();
    return QString::fromStdString(ReportText(session_, extras));
}

std::unique_ptr<QMenu> WindowView::contextMenuFor(const QWidget& widget) const {
    return copyMenu(widget, [this] { return reportText(); });
}

bool WindowView::showPlainTooltip(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    // Without a tooltip of its own the event goes on to the parent, as Qt has it.
    if (widget == nullptr || widget->window() != this || widget->toolTip().isEmpty()) return false;
    const auto& help = static_cast<const QHelpEvent&>(*event);
    QToolTip::showText(help.globalPos(), plainTooltip(widget->toolTip()), widget, QRect(), widget->toolTipDuration());
    return true;
}

bool WindowView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) return showPlainTooltip(watched, event);
    if (event->type() == QEvent::ContextMenu) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != this) return false;
        contextMenuFor(*widget)->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // A key travels on to the parents when a control ignores it; the window
    // sees it once, on its way to the first control.
    if (widget == nullptr || firstKeyReceiver(*widget) != widget) return false;
    const bool driveList = inDriveList(*widget);
    if (!driveList && widget->window() != this) return false;
    const int32_t code = windowsKeyCode(static_cast<const QKeyEvent&>(*event));
    forward([&] { Form_KeyDown(session_, code); });
    if (driveList) forward([&] { Drive1_KeyDown(session_, code); });
    return session_.form.Ended;
}

QMargins WindowView::outerMargins() const {
    // The desktop frames the window only once it is on the screen, and
    // creating the native window early would make the later move place the
    // client area instead of the frame; until then the style's figures
    // stand in for the frame.
    if (const QWindow* handle = windowHandle(); handle != nullptr && !handle->frameMargins().isNull())
        return handle->frameMargins();
    return expectedFrameMargins();
}

void WindowView::settle() {
    if (settled_ || session_.form.Ended) return;
    settled_ = true;
    if (!session_.Activated) forward([this] { Form_Activate(session_); }, true);
    if (session_.form.Ended) return;
    placeWithRealFrame();
    if (onSettled) onSettled();
}

void WindowView::placeWithRealFrame() {
    // The window was centred with the style's guess at its frame; once the
    // window manager has framed it, its real frame (_NET_FRAME_EXTENTS on
    // X11, as Qt reads it) centres it exactly.
    const QWindow* handle = windowHandle();
    if (compositorPlacesWindows() || handle == nullptr || handle->frameMargins().isNull()) return;
    Si9x& form = session_.form;
    if (!tellOuterSize(handle->frameMargins())) return;
    CenterForm(session_.platform.ui, form);
    move(onScreen(form.Left, form.Top));
}

bool WindowView::tellOuterSize(const QMargins& frame) {
    Si9x& form = session_.form;
    const int32_t outerWidth = placement_.twipsX(width() + frame.left() + frame.right());
    const int32_t outerHeight = placement_.twipsY(height() + frame.top() + frame.bottom());
    if (outerWidth == form.OuterWidth && outerHeight == form.OuterHeight) return false;
    form.OuterWidth = outerWidth;
    form.OuterHeight = outerHeight;
    return true;
}

QPoint WindowView::onScreen(int32_t left, int32_t top) const {
    const QMargins frame = outerMargins();
    return placement_.toScreen(left, top, size().grownBy(frame));
}

bool WindowView::start() {
    Si9x& form = session_.form;
    placement_ = ScreenPlacement::of(session_.platform.ui, screen());
    tellOuterSize(outerMargins());
    Form_Load(session_);
    if (form.Ended || session_.RefusedSecondInstance) return false;
    sync();
    if (!compositorPlacesWindows()) move(onScreen(form.Left, form.Top));
    started_ = true;
    show();
    // Windows activates a window that it shows; some X servers without a
    // window manager would leave it inactive.
    activateWindow();
    return true;
}

QWidget* WindowView::controlWidget(const std::string& key) const {
    const auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

QWidget* WindowView::backdropWindow() const { return backdrop_ ? backdrop_->window() : nullptr; }

}  // namespace si32
