// The stub carries no C++ exception classes and no name demangler. Nothing
// in the stub catches an exception, so every runtime failure the library
// would throw (a string past its largest size, an index out of range, no
// memory left) ends the program, as an uncaught throw would; ending it here
// keeps the exception classes, their copy of the old string type and the
// demangling terminate handler (together over 100 KB) out of every built
// program. Linked into the stub alone: the builder catches what it throws.
#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void EndOnRuntimeFailure() { std::abort(); }

}  // namespace

namespace std {

void __throw_bad_alloc() { EndOnRuntimeFailure(); }
void __throw_bad_array_new_length() { EndOnRuntimeFailure(); }
void __throw_length_error(const char*) { EndOnRuntimeFailure(); }
void __throw_logic_error(const char*) { EndOnRuntimeFailure(); }
void __throw_out_of_range(const char*) { EndOnRuntimeFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { EndOnRuntimeFailure(); }
void __throw_invalid_argument(const char*) { EndOnRuntimeFailure(); }

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() { EndOnRuntimeFailure(); }

}  // namespace __gnu_cxx
