#pragma once
// GetSystemMetrics answered from the real screen and style as the drawing
// side reports them. A metric the screen facts do not determine answers 0,
// as the real call answers an index it does not know.
#include <cstdint>

#include "platform/ui.h"

namespace si32 {

enum : int32_t {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CYMENU = 15,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXICONSPACING = 38,
    SM_CYICONSPACING = 39,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CXMAXIMIZED = 61,
    SM_CYMAXIMIZED = 62,
    SM_XVIRTUALSCREEN = 76,
    SM_YVIRTUALSCREEN = 77,
    SM_CXVIRTUALSCREEN = 78,
    SM_CYVIRTUALSCREEN = 79,
    SM_CMONITORS = 80,
    SM_SAMEDISPLAYFORMAT = 81,
};

int32_t metricFromScreen(const ScreenFacts& screen, int32_t index);

}  // namespace si32
