#pragma once
// A section frame: an etched border with its caption set into the top edge.
#include <QWidget>

namespace si32 {

class FrameBox : public QWidget {
public:
    explicit FrameBox(QWidget* parent);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace si32
