#include "platform/win32/ansi_text.h"

namespace calvorin::win32 {

std::string toAnsi(const wchar_t* wide, int length) {
  if (wide == nullptr || length <= 0)
    return {};
  const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), needed, nullptr, nullptr);
  return ansi;
}

}  // namespace calvorin::win32
