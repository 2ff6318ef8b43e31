#pragma once
// A shared library that is loaded at the first call that needs it rather than at start, and then
// kept for the life of the program. Most sessions never need some of the libraries the program
// can use; loading them at start only costs time and memory. Without the library every lookup
// answers null, and the caller fails as the library itself would.
#include <dlfcn.h>

#include <mutex>

namespace gfx {

class LazyLibrary {
 public:
  constexpr LazyLibrary(const char* soname, int flags) : FSoname(soname), FFlags(flags) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // The call NAME as a pointer of type F, or null.
  template <typename F>
  F Resolve(const char* name) {
    std::call_once(FOnce, [this] { FHandle = dlopen(FSoname, FFlags | RTLD_LOCAL); });
    return FHandle ? reinterpret_cast<F>(dlsym(FHandle, name)) : nullptr;
  }

 private:
  const char* FSoname;
  int FFlags;
  std::once_flag FOnce;
  void* FHandle = nullptr;
};

}  // namespace gfx

// The body of a forwarding definition of the library's call NAME: looks NAME up in LIBRARY once
// and calls it with the arguments, or gives FAILED when it cannot be found.
#define VT_LAZY_FORWARD(library, name, failed, ...)                  \
  static const auto fn = (library).Resolve<decltype(&name)>(#name); \
  return fn ? fn(__VA_ARGS__) : failed

// The same for calls that answer nothing.
#define VT_LAZY_FORWARD_VOID(library, name, ...)                     \
  static const auto fn = (library).Resolve<decltype(&name)>(#name); \
  if (fn) fn(__VA_ARGS__)
