// The GNU C++ runtime reports a failed check of its containers and strings
// (a length beyond max_size(), an out-of-range at()) through the __throw_*
// functions, which its manual lets a program define for itself. Its own
// definitions build std::logic_error and its kin, whose message is a
// reference-counted string: that one use links a second std::string
// implementation, about 30 KB, into a program that never catches any of
// them. These throw the same kinds of failure without the message copy.
#include <exception>
#include <new>
#include <typeinfo>

#if defined(__GLIBCXX__)
namespace {

// A failed check of the C++ library: what it says is a literal.
class LibraryError final : public std::exception {
 public:
  explicit LibraryError(const char* what) noexcept : what_(what) {}
  [[nodiscard]] const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,cert-dcl58-cpp)
namespace std {
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }
}  // namespace std
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp,cert-dcl58-cpp)
#endif
