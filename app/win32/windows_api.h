#pragma once
// windows.h and the common controls for the window's files, after every
// header of the program whose constants share the names of the macros
// windows.h defines (MB_OK, CP_UTF8, DRIVE_FIXED): once these are in, the
// macros stand for them, with the same values. The window's files include
// this instead of windows.h.
#include "app/session.h"
#include "app/startup.h"
#include "platform/code_page.h"
#include "platform/guarded.h"
#include "platform/platform.h"
#include "platform/terminal_text.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
