#pragma once
// A label of the window. Its field keeps the size it is given: one line too
// long for it ends in an ellipsis, wrapped lines beyond its height are cut.
// Blanks after the text (a name read into a blank-filled buffer) show
// nothing and never count as text that runs out of room.
#include <QLabel>

namespace si32 {

class FieldLabel : public QLabel {
public:
    explicit FieldLabel(QWidget* parent);

    // The size the text takes: one line, or lines wrapped within wrapWidth.
    QSize textSize(int wrapWidth) const;
    // Part of the text does not show in the field as it now stands.
    bool isCut() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace si32
