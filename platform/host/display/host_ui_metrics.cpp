#include "platform/host/display/host_ui_metrics.h"

namespace si32 {
namespace {

// A size the drawing side did not report stays unknown, and so does every
// metric derived from it.
bool known(int32_t v) { return v > 0; }

}  // namespace

int32_t metricFromScreen(const ScreenFacts& s, int32_t index) {
    const int32_t workWidth = s.workRight - s.workLeft;
    const int32_t workHeight = s.workBottom - s.workTop;
    switch (index) {
        case SM_CXSCREEN: return s.widthPx;
        case SM_CYSCREEN: return s.heightPx;
        // One extent serves both bar thicknesses and both arrow sizes, as
        // on a Windows desktop whose scroll arrows are square.
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL: return s.scrollBarExtent;
        case SM_CYCAPTION: return s.titleBarHeight;
        // The window manager draws one frame, sizable or not.
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
        case SM_CXFRAME:
        case SM_CYFRAME: return s.frameWidth;
        case SM_CXICON:
        case SM_CYICON: return s.iconSize;
        case SM_CXSMICON:
        case SM_CYSMICON: return s.smallIconSize;
        case SM_CYMENU: return s.menuHeight;
        // The client area of a maximised window: the work area, less the
        // title bar in height.
        case SM_CXFULLSCREEN: return known(workWidth) ? workWidth : 0;
        case SM_CYFULLSCREEN: return known(workHeight) && known(s.titleBarHeight) ? workHeight - s.titleBarHeight : 0;
        // A maximised window's frame lies just outside the work area.
        case SM_CXMAXIMIZED: return known(workWidth) && known(s.frameWidth) ? workWidth + 2 * s.frameWidth : 0;
        case SM_CYMAXIMIZED: return known(workHeight) && known(s.frameWidth) ? workHeight + 2 * s.frameWidth : 0;
        case SM_XVIRTUALSCREEN: return known(s.virtualWidth) ? s.virtualLeft : 0;
        case SM_YVIRTUALSCREEN: return known(s.virtualHeight) ? s.virtualTop : 0;
        case SM_CXVIRTUALSCREEN: return s.virtualWidth;
        case SM_CYVIRTUALSCREEN: return s.virtualHeight;
        case SM_CMONITORS: return s.monitors;
        // All monitors of one screen share its pixel format.
        case SM_SAMEDISPLAYFORMAT: return known(s.monitors) ? 1 : 0;
        default: return 0;
    }
}

}  // namespace si32
