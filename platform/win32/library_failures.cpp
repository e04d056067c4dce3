// How the C++ library reports its own failures in this program: a
// PlatformError with the library's text, which the window's dispatch shows
// like any other failure, or the library's own exception where that carries
// no text (bad_alloc and its kin). libstdc++'s own versions throw
// std::length_error and the like, whose reference-counted strings bring a
// second string implementation into the program (with what it drags in,
// about 55 KB of 260) to report failures that no handler tells apart.
#include <exception>
#include <new>
#include <typeinfo>

#include "platform/platform_error.h"

namespace {

[[noreturn]] void fail(const char* what) {
  throw calvorin::platform::PlatformError(what ? what : "C++ library failure");
}

}  // namespace

namespace std {

void __throw_bad_exception() {
  throw std::bad_exception();
}
void __throw_bad_alloc() {
  throw std::bad_alloc();
}
void __throw_bad_array_new_length() {
  throw std::bad_array_new_length();
}
void __throw_bad_cast() {
  throw std::bad_cast();
}
void __throw_bad_typeid() {
  throw std::bad_typeid();
}
void __throw_logic_error(const char* what) {
  fail(what);
}
void __throw_domain_error(const char* what) {
  fail(what);
}
void __throw_invalid_argument(const char* what) {
  fail(what);
}
void __throw_length_error(const char* what) {
  fail(what);
}
void __throw_out_of_range(const char* what) {
  fail(what);
}
void __throw_out_of_range_fmt(const char* format, ...) {
  fail(format);
}
void __throw_runtime_error(const char* what) {
  fail(what);
}
void __throw_range_error(const char* what) {
  fail(what);
}
void __throw_overflow_error(const char* what) {
  fail(what);
}
void __throw_underflow_error(const char* what) {
  fail(what);
}

}  // namespace std
