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

    // Values can be selected and copied. What selection needs (a text
    // document of the label's own, laid out anew at every change of text) is
    // set up when the field first takes a press or the focus, not for every
    // field at start-up.
    void makeSelectable() { selectable_ = true; }
    bool isSelectable() const { return selectable_; }
    // QLabel's, once what selection needs is set up.
    void setSelection(int start, int length);

    // The caption of the row this value stands in; a caption knows the
    // values it names. Assistive technology reads them as label relations.
    void setCaption(FieldLabel* caption);
    FieldLabel* caption() const { return caption_; }
    const std::vector<FieldLabel*>& captioned() const { return captioned_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // True when it set up what selection needs just now.
    bool readyToSelect();

    Shown layOut() const;
    QSize measure(int wrapWidth) const;
    // The advance of the text whole, without its trailing blanks.
    double wholeAdvance() const;

    bool selectable_ = false;
    FieldLabel* caption_ = nullptr;
    std::vector<FieldLabel*> captioned_;
    // What a text's geometry was worked out for; an answer stands while it
    // does. Painting, the cut check, the screen readers' names and each pass
    // of the window's fitting ask, and laying text out is the costly part.
    struct TextFor {
        QString text;
        QFont font;
        bool wordWrap = false;
        QSize room;
        bool operator==(const TextFor&) const = default;
    };
    TextFor textFor(QSize room) const { return {text(), font(), wordWrap(), room}; }
    template <class Answer>
    struct Remembered {
        TextFor question;
        Answer answer;
    };
    mutable std::optional<Remembered<Shown>> laidOut_;
    mutable std::optional<Remembered<QSize>> measured_;
    // The fit measures a one-line text and laying it out measures it again:
    // shaping it once is half of what both cost.
    mutable std::optional<Remembered<double>> advanced_;
};

}  // namespace si32
