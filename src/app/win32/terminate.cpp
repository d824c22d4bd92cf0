// With the GNU C++ runtime, an uncaught exception ends the program through a
// handler that prints the exception's type, demangling its name first. A
// window program has nowhere to print it, and the demangler alone is a
// sixth of the executable, so this one ends the program straight away.
#include <cstdlib>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {
// The runtime's own name for the handler it calls.
void __verbose_terminate_handler() { std::abort(); }  // NOLINT(bugprone-reserved-identifier)
}  // namespace __gnu_cxx
#endif
