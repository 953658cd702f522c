#include "app/view/window_view.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/report.h"
#include "app/session.h"
#include "app/view/accessibility.h"
#include "app/view/app_icon.h"
#include "app/view/backdrop_view.h"
#include "app/view/copy_menu.h"
#include "app/view/dialog_font.h"
#include "app/view/field_label.h"
#include "app/view/frame_box.h"
#include "app/view/meter_bar.h"
#include "app/view/qt_text.h"
#include "window/layout.h"

namespace si32 {
namespace {

// A caption as a name: without its access-key marker and its colon.
QString captionName(const std::string& caption) {
    QString name = fromModelText(caption).remove(QLatin1Char('&')).trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    return name;
}

}  // namespace

WindowView::WindowView(Session& session)
    : QWidget(nullptr, Qt::Window | fixedDialogFlags()),
      session_(session),
      zoom_(fitZoom(QGuiApplication::primaryScreen())),
      scale_(zoomed(QGuiApplication::primaryScreen(), zoom_)) {
    setObjectName(QStringLiteral("si9x"));
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    setWindowIcon(frameIcon());
    setFont(dialogFont(session_.form.controls(), scale_, zoom_));
    installAccessibleInterfaces();
    const QSize client(scale_.x(kClientWidthTwips), scale_.y(kClientHeightTwips));
    build();
    orderTabs();
    setFixedSize(scrollIfTooBig(client));
    driveNotice_ = new SpokenNotice(this);
    driveNotice_->setObjectName(QStringLiteral("driveNotice"));
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

void WindowView::sync() {
    bool changed = false;
    for (auto& bound : bound_) changed = syncControl(bound) || changed;
    // The fit and the spoken names follow from the controls alone: an event
    // that changed none (most change none) measures nothing again.
    if (!changed) return;
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
    // description tells what it now shows; the pick itself is announced.
    if (driveList_ != nullptr) setQuietDescription(*driveList_, driveInfo.join(QStringLiteral(", ")));
}

bool WindowView::syncControl(Bound& bound) {
    const Control& control = session_.form.controls()[bound.control];
    QWidget& widget = *bound.widget;
    // The drive list's entries are the form's, not the control's.
    if (control.kind == ControlKind::DriveList) syncDriveList();
    if (bound.shown == control) return false;
    bound.shown = control;
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
            if (!control.autoSize) return true;
            fitToText(widget, control);
            break;
        case ControlKind::TextBox:
            if (bound.shownText != control.text) {
                bound.shownText = control.text;
                static_cast<QPlainTextEdit&>(widget).setPlainText(fromModelText(control.text, session_.CodePage));
            }
            break;
        case ControlKind::DriveList: break;
        case ControlKind::Button:
            static_cast<QPushButton&>(widget).setText(fromModelText(control.text, session_.CodePage));
            break;
    }
    showTip(widget, control, tip);
    return true;
}

void WindowView::showTip(QWidget& widget, const Control& control, const QString& tip) {
    if (widget.toolTip() != tip) widget.setToolTip(tip);
    if (widget.isHidden() == control.visible) widget.setVisible(control.visible);
}

void WindowView::syncDriveList() {
    const QSignalBlocker quiet(driveList_);
    const auto& entries = session_.form.Drive1Entries;
    if (driveEntries_ != entries) {
        driveEntries_ = entries;
        driveList_->clear();
        for (const auto& entry : driveEntries_)
            driveList_->addItem(fromModelText(DriveListText(entry), session_.CodePage));
    }
    const auto at = std::find(driveEntries_.begin(), driveEntries_.end(), session_.form.Drive1Current());
    driveList_->setCurrentIndex(at == driveEntries_.end() ? -1 : static_cast<int>(at - driveEntries_.begin()));
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

QWidget* WindowView::controlWidget(const std::string& key) const {
    const auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

QWidget* WindowView::backdropWindow() const { return backdrop_ ? backdrop_->window() : nullptr; }

}  // namespace si32
