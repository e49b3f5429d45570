// The Windows API for the Windows implementation files, included after the
// platform's own header: <windows.h> defines INVALID_HANDLE_VALUE as a macro,
// which would otherwise rewrite the declaration of the program's constant of
// that name. From here on the macro stands for the same value as a HANDLE.
#pragma once

#include "platform/platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
