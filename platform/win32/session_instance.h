#pragma once

#include <string>

#include "platform/win32/handles.h"

namespace calvorin::win32 {

// The program's one instance in a log-on session: a named mutex in the
// session's namespace tells a second start that a first one runs.
class SessionInstance {
 public:
  SessionInstance();

  // For a second start: asks the first instance to bring its main window,
  // of this caption, up. False when there is no first instance, or its main
  // window is gone (it is ending); then this start goes on as the first.
  bool handedOverToFirst(const std::string& mainWindowCaption) const;

 private:
  UniqueHandle mutex_;
  bool second_;
};

}  // namespace calvorin::win32
