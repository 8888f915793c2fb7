// The stub carries no C++ exception machinery: nothing in it throws, and
// every runtime failure the library would throw (a string past its largest
// size, an index out of range, no memory left) ends the program here with
// the stub's failure code, so a caller never mistakes it for a success or a
// skip (abort's code 3 is the stub's "skipped" code). That keeps out of every
// built program the exception classes with their copy of the old string
// type, the demangling terminate handler, the unwinder and the thread
// library it locks with (together well over 150 KB). The extraction reads
// its entries in bounded pieces, so its memory stays small whatever the
// entry size. Linked into the stub alone: the builder catches what it throws.
#include <windows.h>

#include <cstdarg>
#include <cstdlib>
#include <new>

#include "BoundedFormat.h"
#include "ExtractCallback.h"

namespace {

[[noreturn]] void EndOnRuntimeFailure() { ExitProcess(kExitFailed); }

void* Allocate(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) EndOnRuntimeFailure();
  return block;
}

}  // namespace

// Allocation that ends the program when memory runs out, instead of
// throwing; the nothrow forms still answer null.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace std {

void __throw_bad_alloc() { EndOnRuntimeFailure(); }
void __throw_bad_array_new_length() { EndOnRuntimeFailure(); }
void __throw_length_error(const char*) { EndOnRuntimeFailure(); }
void __throw_logic_error(const char*) { EndOnRuntimeFailure(); }
void __throw_out_of_range(const char*) { EndOnRuntimeFailure(); }
void __throw_out_of_range_fmt(const char*, ...) { EndOnRuntimeFailure(); }
void __throw_invalid_argument(const char*) { EndOnRuntimeFailure(); }

}  // namespace std

// Every snprintf of the stub and the engine lands here: the runtime's own
// formatter comes with floating-point conversion and its tables, where the
// stub's texts need integers, characters and strings only.
extern "C" int __mingw_vsnprintf(char* out, size_t size, const char* format, va_list args) {
  return FormatBounded(out, size, format, args);
}

namespace __gnu_cxx {

void __verbose_terminate_handler() { EndOnRuntimeFailure(); }

}  // namespace __gnu_cxx

// With nothing ever thrown, the unwinder never asks a frame how to handle
// an exception and no handler is ever entered (the library's templates
// still hold catch-and-rethrow blocks); were one reached, the program ends.
// This applies to the table-driven unwinding of the 32-bit deliverable; the
// 64-bit build's structured exception handling ties these entry points to
// the runtime's own handler, so there they stay the library's.
#if !defined(_WIN64)
extern "C" {
int __gxx_personality_v0(int, int, unsigned long long, void*, void*) { EndOnRuntimeFailure(); }
void* __cxa_begin_catch(void*) noexcept { EndOnRuntimeFailure(); }
void __cxa_end_catch() { EndOnRuntimeFailure(); }
void __cxa_rethrow() { EndOnRuntimeFailure(); }
void __cxa_call_terminate(void*) noexcept { EndOnRuntimeFailure(); }
void _Unwind_Resume(void*) { EndOnRuntimeFailure(); }
}

namespace std {

void terminate() noexcept { EndOnRuntimeFailure(); }

}  // namespace std
#endif
