#pragma once

#include <string>
#include <utility>

#include <windows.h>
#include <oleauto.h>

#include "platform/win32/ansi_text.h"

namespace calvorin::win32 {

// Owns a BSTR. An empty text gives a null BSTR, which COM treats as empty.
class Bstr {
 public:
  explicit Bstr(const std::string& ansi) {
    if (!ansi.empty()) {
      const std::wstring wide = toWide(ansi);
      b_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
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
