#include "screeninfo/screen_info.h"
