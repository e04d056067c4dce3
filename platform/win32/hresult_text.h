#pragma once

#include <string>

#include <windows.h>

namespace calvorin::win32 {

// A readable reason for a failure code, such as "not found", without the code.
std::string describeHresult(HRESULT hr);

// "<what>: <reason> (0x8004xxxx)", the message of a failing platform call.
std::string failureMessage(const std::string& what, HRESULT hr);

}  // namespace calvorin::win32
