// Keeps parts of the C++ runtime out of the stub that it never uses, since
// every byte of it is copied into every e-book (about 100 KB in all).
//
// The viewer is built without exceptions, so a failed allocation or a
// library precondition can only end the program. Defining the library's
// throw helpers and operator new here keeps the exception machinery, its
// unwinder and its copy-on-write string copies out; the default terminate
// handler would also bring in a name demangler.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() {
  std::abort();
}
void __throw_bad_array_new_length() {
  std::abort();
}
void __throw_bad_cast() {
  std::abort();
}
void __throw_bad_exception() {
  std::abort();
}
void __throw_bad_function_call() {
  std::abort();
}
void __throw_bad_typeid() {
  std::abort();
}
void __throw_domain_error(const char*) {
  std::abort();
}
void __throw_invalid_argument(const char*) {
  std::abort();
}
void __throw_length_error(const char*) {
  std::abort();
}
void __throw_logic_error(const char*) {
  std::abort();
}
void __throw_out_of_range(const char*) {
  std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
  std::abort();
}
void __throw_overflow_error(const char*) {
  std::abort();
}
void __throw_range_error(const char*) {
  std::abort();
}
void __throw_runtime_error(const char*) {
  std::abort();
}
void __throw_system_error(int) {
  std::abort();
}
void __throw_underflow_error(const char*) {
  std::abort();
}
}  // namespace std

void* operator new(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) {
    std::abort();
  }
  return memory;
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete[](void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
