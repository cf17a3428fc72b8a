// Links the program's lean runtime with code that reaches every error helper
// of libstdc++'s functexcept: if the runtime lacked one, the library's
// version would come in with all the others and this link would stop with
// "multiple definition". Built by the tests; run, it fails on nothing.
#include <bitset>
#include <string>
#include <vector>

namespace std {
[[noreturn]] void __throw_bad_exception();
[[noreturn]] void __throw_bad_cast();
[[noreturn]] void __throw_bad_typeid();
[[noreturn]] void __throw_domain_error(const char*);
[[noreturn]] void __throw_runtime_error(const char*);
[[noreturn]] void __throw_range_error(const char*);
[[noreturn]] void __throw_underflow_error(const char*);
}  // namespace std

int main(int argc, char**) {
  // Never true when run: only the references matter.
  if (argc > 100) {
    std::bitset<64> bits;
    bits.set();
    volatile unsigned long value = bits.to_ulong();  // __throw_overflow_error
    (void)value;
    std::string text;
    text.at(5);                 // __throw_out_of_range_fmt
    std::vector<int>(argc).at(7);
    std::__throw_bad_exception();
    std::__throw_bad_cast();
    std::__throw_bad_typeid();
    std::__throw_domain_error("");
    std::__throw_runtime_error("");
    std::__throw_range_error("");
    std::__throw_underflow_error("");
  }
  return 0;
}
