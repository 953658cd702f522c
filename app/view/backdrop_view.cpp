#include "app/view/backdrop_view.h"

#include "app/view/screen_placement.h"
#include "app/view/server_background.h"
#include "app/view/view_colours.h"
#include "window/layout.h"
#include "window/si32bg.h"

namespace si32 {

Qt::WindowFlags fixedDialogFlags() {
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

BackdropView::BackdropView(Si32Bg& model, std::function<QPoint(int32_t, int32_t)> place, QSize clientSize, QIcon icon,
                           std::function<QPoint()> home)
    : model_(model), place_(std::move(place)), clientSize_(clientSize), icon_(std::move(icon)), home_(std::move(home)) {
    model_.Changed = [this] { follow(); };
}

BackdropView::~BackdropView() { model_.Changed = nullptr; }

void BackdropView::HideThenDelete::operator()(QWidget* window) const {
    window->hide();
    window->deleteLater();
}

void BackdropView::create() {
    // A tool window stays out of the taskbar: the user should see one
    // program there, the main window, once it appears.
    window_.reset(new QWidget(nullptr, Qt::Tool | fixedDialogFlags()));
    window_->setObjectName(QStringLiteral("si32bg"));
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    window_->setWindowTitle(QString::fromUtf8(kWindowCaption));
    window_->setWindowIcon(icon_);
    window_->setFixedSize(clientSize_);
}

void BackdropView::follow() {
    // Where the compositor places windows the backdrop could neither stand
    // where the main window will appear nor draw while start-up holds the
    // event loop: it would come up late, beside the main window.
    if (!model_.Loaded || compositorPlacesWindows()) {
        window_.reset();
        return;
    }
    const QPoint place = place_(model_.Left, model_.Top);
    if (!window_) {
        create();
        // The backdrop is shown before it is moved onto the main window's
        // place. It starts out there already: a desktop frames a window only
        // some time after it is shown, and a move in between would place the
        // inside of the window where its frame belongs.
        window_->move(home_());
        setServerBackground(*window_);
        placed_ = place;
    }
    if (place != placed_) {
        window_->move(place);
        placed_ = place;
    }
    if (model_.Visible && !window_->isVisible()) window_->show();
    if (!model_.Visible && window_->isVisible()) window_->hide();
    if (window_->isVisible()) window_->repaint();
}

}  // namespace si32
