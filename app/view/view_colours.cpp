#include "app/view/view_colours.h"

namespace si32 {

QPalette classicPalette() {
    // Qt derives the light, mid and dark shades of the 3-D edges from the face.
    QPalette palette(QColor(0, 0, 0), QColor(240, 240, 240), QColor(255, 255, 255), QColor(160, 160, 160),
                     QColor(213, 213, 213), QColor(0, 0, 0), QColor(255, 255, 255), QColor(255, 255, 255),
                     QColor(240, 240, 240));
    palette.setColor(QPalette::Highlight, QColor(0, 120, 215));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(109, 109, 109));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(109, 109, 109));
    return palette;
}

}  // namespace si32
