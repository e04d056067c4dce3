#pragma once

#include <string>
#include <utility>

#include <windows.h>
#include <oleauto.h>

namespace calvorin::win32 {

// Owns a BSTR made from a text in the ANSI code page. An empty text gives a
// null BSTR, which COM treats as empty.
class Bstr {
 public:
  explicit Bstr(const std::string& ansi) {
    if (ansi.empty())
      return;
    const int length = static_cast<int>(ansi.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    b_ = SysAllocStringLen(nullptr, static_cast<UINT>(needed));
    if (b_)
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, b_, needed);
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  BSTR get() const { return b_; }

 private:
  BSTR b_ = nullptr;
};

// Owns a VARIANT and clears it when it goes.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  // For out-parameters: clears the current value first.
  VARIANT* put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

}  // namespace calvorin::win32
