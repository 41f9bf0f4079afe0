// Replaces libstdc++'s verbose terminate handler. The library's handler prints the
// demangled type of an uncaught exception to stderr, which a GUI program does not have,
// and linking it statically brings the whole C++ name demangler (about 50 KB) into
// SetUp.exe. Ending the process is all that is left to do either way.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
