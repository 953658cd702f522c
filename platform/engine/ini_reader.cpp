#include "platform/engine/ini_reader.h"
