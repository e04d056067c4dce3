#pragma once

#include <memory>

#include "platform/wmi.h"

namespace calvorin::win32 {

// WMI through COM. Joins the calling thread to a single-threaded apartment for
// its lifetime, so it must outlive every object it hands out.
class ComWmi final : public platform::Wmi {
 public:
  ComWmi();
  ComWmi(const ComWmi&) = delete;
  ComWmi& operator=(const ComWmi&) = delete;
  ~ComWmi() override;

  std::unique_ptr<platform::WmiLocator> createLocator() override;

 private:
  bool uninitialize_ = false;
};

}  // namespace calvorin::win32
