#pragma once
// A percentage meter: a sunken panel filled from the left, with the
// percentage in bold in its middle.
#include <QWidget>
#include <cstdint>

namespace si32 {

class MeterBar : public QWidget {
public:
    explicit MeterBar(QWidget* parent);

    void setPercent(int32_t percent);
    int32_t percent() const { return percent_; }
    // What is drawn: the percentage held to 0..100.
    int32_t shownPercent() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t percent_ = 0;
};

}  // namespace si32
