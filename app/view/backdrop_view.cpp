#include "app/view/backdrop_view.h"

#include "app/layout.h"
#include "app/si32bg.h"

namespace si32 {

Qt::WindowFlags fixedDialogFlags() {
    return Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

BackdropView::BackdropView(Si32Bg& model, const TwipsScale& scale, QSize clientSize, QIcon icon)
    : model_(model), scale_(scale), clientSize_(clientSize), icon_(std::move(icon)) {
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
    if (!model_.Loaded) {
        window_.reset();
        return;
    }
    if (!window_) create();
    window_->move(scale_.x(model_.Left), scale_.y(model_.Top));
    if (model_.Visible && !window_->isVisible()) window_->show();
    if (!model_.Visible && window_->isVisible()) window_->hide();
    if (window_->isVisible()) window_->repaint();
}

}  // namespace si32
