#pragma once

#include <string>

#include <windows.h>

#include "platform/platform_error.h"
#include "platform/win32/hresult_text.h"

namespace calvorin::win32 {

// Throws PlatformError for the calling thread's last Win32 error.
[[noreturn]] inline void throwLastError(const std::string& what) {
  const DWORD error = GetLastError();
  throw platform::PlatformError(win32FailureMessage(what, error), error);
}

}  // namespace calvorin::win32
