#pragma once
// A label of the window. Its field keeps the size it is given: it shows only
// whole lines, and the last one it shows ends in an ellipsis when more text
// follows; a size's unit stays in view even then. Blanks after the text (a
// name read into a blank-filled buffer) show nothing and never count as text
// that runs out of room. Its text can be selected and copied; the whole text
// stays the widget's own, so assistive technology reads it uncut.
#include <QLabel>
#include <QStringList>
#include <optional>

#include "app/view/field_fit.h"

namespace si32 {

class FieldLabel : public QLabel {
public:
    explicit FieldLabel(QWidget* parent);

    // The size the text takes: one line, or lines wrapped within wrapWidth.
    QSize textSize(int wrapWidth) const;
    // Part of the text does not show in the field as it now stands.
    bool isCut() const;

    // What the field draws, line by line, as it now stands.
    using Shown = ShownText;
    Shown shown() const;

    // The caption of the row this value stands in; a caption knows the
    // values it names. Assistive technology reads them as label relations.
    void setCaption(FieldLabel* caption);
    FieldLabel* caption() const { return caption_; }
    const std::vector<FieldLabel*>& captioned() const { return captioned_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Shown layOut() const;
    QSize measure(int wrapWidth) const;

    FieldLabel* caption_ = nullptr;
    std::vector<FieldLabel*> captioned_;
    // The last lay-out and what it was made for: painting, the cut check and
    // the screen readers' names each ask, and laying out is the costly part.
    struct LaidOut {
        QString text;
        QSize area;
        QFont font;
        bool wordWrap = false;
        Shown shown;
    };
    mutable std::optional<LaidOut> laidOut_;
    struct Measured {
        QString text;
        int wrapWidth = 0;
        QFont font;
        bool wordWrap = false;
        QSize size;
    };
    mutable std::optional<Measured> measured_;
};

}  // namespace si32
