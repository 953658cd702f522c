#pragma once
// The class ScreenInfo: display metrics and desktop parameters.
