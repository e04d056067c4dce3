#pragma once

#include <string>

#include <windows.h>

namespace calvorin::win32 {

// A readable reason for a failure code, such as "not found", without the code.
std::string describeHresult(HRESULT hr);

// The system's text for a Win32 error or HRESULT, without the code.
std::string describeSystemCode(DWORD code);

// "<what>: <reason> (0x8004xxxx)", the message of a failing COM call.
std::string failureMessage(const std::string& what, HRESULT hr);

// "<what>: <reason> (error 5)", the message of a failing Win32 call.
std::string win32FailureMessage(const std::string& what, DWORD error);

}  // namespace calvorin::win32
