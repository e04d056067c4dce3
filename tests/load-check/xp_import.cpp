// Must fail the Windows 2000 load check and pass the Windows XP one: it
// imports DisableProcessWindowsGhosting, which USER32 exports from XP on and
// mingw-w64's headers declare without a version guard.
#include <windows.h>

int main() {
  DisableProcessWindowsGhosting();
  return 0;
}
