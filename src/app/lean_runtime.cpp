// Fumora never throws. These replacements end the program where libstdc++
// would throw (out of memory, a length error), as an unhandled exception
// would, and so keep the exception machinery (unwinder, emulated TLS, thread
// support) out of the executable: a third of its size. Linked into
// Fumora.exe only; the tests keep the library's own versions.
//
// Every error helper of libstdc++'s functexcept is here, so that none of the
// library's own versions is ever linked: one of them would bring all the
// others, and the link would stop with "multiple definition of
// std::__throw_...". A link error naming another std::__throw_ helper means:
// add it below. tests/link/lean_runtime_link.cpp proves the set links.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {
[[noreturn]] void Fail() {
  FatalAppExitA(0, "Fumora has run out of memory.");
  ExitProcess(3);
}
}  // namespace

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  Fail();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace std {
void __throw_bad_alloc() { Fail(); }
void __throw_bad_array_new_length() { Fail(); }
void __throw_length_error(const char*) { Fail(); }
void __throw_logic_error(const char*) { Fail(); }
void __throw_out_of_range(const char*) { Fail(); }
void __throw_out_of_range_fmt(const char*, ...) { Fail(); }
void __throw_invalid_argument(const char*) { Fail(); }
void __throw_bad_function_call() { Fail(); }
void __throw_bad_exception() { Fail(); }
void __throw_bad_cast() { Fail(); }
void __throw_bad_typeid() { Fail(); }
void __throw_domain_error(const char*) { Fail(); }
void __throw_runtime_error(const char*) { Fail(); }
void __throw_range_error(const char*) { Fail(); }
void __throw_overflow_error(const char*) { Fail(); }
void __throw_underflow_error(const char*) { Fail(); }
}  // namespace std
