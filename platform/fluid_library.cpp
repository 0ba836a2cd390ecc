#include "platform/fluid_library.h"

#include <dlfcn.h>

#include <mutex>

namespace platform {
namespace {

// The names FluidSynth 2's library goes by on Linux, newest first.
constexpr const char* kLibraryNames[] = {"libfluidsynth.so.3", "libfluidsynth.so.2", "libfluidsynth.so"};

const FluidLibrary* Load() {
  void* handle = nullptr;
  for (const char* name : kLibraryNames) {
    if ((handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL))) break;
  }
  if (!handle) return nullptr;
  static FluidLibrary library;
  bool complete = true;
#define STAKKOR_FLUID_RESOLVE(name)                                                   \
  library.name = reinterpret_cast<decltype(library.name)>(::dlsym(handle, #name)); \
  complete = complete && library.name;
  STAKKOR_FLUID_FUNCTIONS(STAKKOR_FLUID_RESOLVE)
#undef STAKKOR_FLUID_RESOLVE
  // The library stays loaded for the rest of the run, whatever happens.
  return complete ? &library : nullptr;
}

}  // namespace

const FluidLibrary* OpenFluidLibrary() {
  static std::once_flag once;
  static const FluidLibrary* library = nullptr;
  std::call_once(once, [] { library = Load(); });
  return library;
}

}  // namespace platform
