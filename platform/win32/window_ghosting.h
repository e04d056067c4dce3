// Keeps Windows from swapping the program's windows for "not responding"
// ghosts.
#pragma once

namespace calvorin::win32 {

// A start or stop waits on the one thread without taking messages; its
// window must stay the program's own meanwhile. Windows 2000 has no ghosting
// and no such switch: there this does nothing.
void disableWindowGhosting();

}  // namespace calvorin::win32
