// How SetUp.exe ends on an error of the C++ runtime: at once. Nothing in the program catches
// an exception, so an error the library would throw (a string index out of range, memory
// exhausted) can only end in std::terminate, and with it the process. Ending it here, where
// the library would throw, gives the same end without what comes with throwing: linking the
// library's handlers statically brings its exception classes and a second, copy-on-write
// string implementation (about 50 KB), and its terminate handler the whole C++ name
// demangler (about 50 KB more), into a program that has no standard error to print to.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
}  // namespace std
