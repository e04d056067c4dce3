// The program's terminate handler: abort quietly. libstdc++'s default, the
// verbose handler, prints its message with the whole C++ demangler, which a
// GUI program has nowhere to show; the window procedure lets no exception
// escape, so this runs only on a fault the program cannot go on from.
//
// libstdc++ defines the default in its own object file, which a static link
// leaves out when the program defines it first. That is how GCC 12's
// library is built; another version keeps its own handler, and the load
// tier's check that the program holds no verbose handler says so.
#include <cstdlib>

#if defined(__GLIBCXX__) && _GLIBCXX_RELEASE == 12

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx

#endif
