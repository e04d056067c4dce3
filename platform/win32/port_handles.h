#pragma once

#include <cstdint>

namespace calvorin::win32 {

// The ports carry window, icon, bitmap and registry key handles as 32-bit
// values. Windows keeps these handles 32-bit significant in 64-bit programs
// too: a handle is cut to its low half on the way out and sign-extended on
// the way back (HKEY_LOCAL_MACHINE, 0x80000002, is 0xFFFFFFFF80000002 there).
template <typename Handle>
std::uint32_t toPortHandle(Handle handle) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

template <typename Handle>
Handle fromPortHandle(std::uint32_t handle) {
  return reinterpret_cast<Handle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(handle)));
}

}  // namespace calvorin::win32
