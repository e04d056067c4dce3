// The program's terminate handler: abort quietly. libstdc++'s default, the
// verbose handler, would bring the whole C++ demangler into the program
// (about 50 KB of a 320 KB program) to print a message that a GUI program
// has nowhere to show. The window procedure lets no exception escape, so
// this runs only on a fault the program cannot go on from.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
