#include "platform/win32/hresult_text.h"

#include <wbemcli.h>

#include "platform/win32/handles.h"

namespace calvorin::win32 {

namespace {

// The system's message table does not hold WMI's own codes.
const char* describeWbemCode(HRESULT hr) {
  switch (static_cast<unsigned long>(hr)) {
    case WBEM_E_FAILED:
      return "the call failed";
    case WBEM_E_NOT_FOUND:
      return "not found";
    case WBEM_E_ACCESS_DENIED:
      return "access denied";
    case WBEM_E_PROVIDER_FAILURE:
      return "the provider failed";
    case WBEM_E_TYPE_MISMATCH:
      return "type mismatch";
    case WBEM_E_OUT_OF_MEMORY:
      return "out of memory";
    case WBEM_E_INVALID_CONTEXT:
      return "invalid context";
    case WBEM_E_INVALID_PARAMETER:
      return "invalid parameter";
    case WBEM_E_NOT_AVAILABLE:
      return "not available";
    case WBEM_E_CRITICAL_ERROR:
      return "critical error";
    case WBEM_E_NOT_SUPPORTED:
      return "not supported";
    case WBEM_E_INVALID_NAMESPACE:
      return "invalid namespace";
    case WBEM_E_INVALID_OBJECT:
      return "invalid object";
    case WBEM_E_INVALID_CLASS:
      return "invalid class";
    case WBEM_E_TRANSPORT_FAILURE:
      return "transport failure";
    case WBEM_E_INVALID_OBJECT_PATH:
      return "invalid object path";
    case WBEM_E_INVALID_METHOD:
      return "no such method";
    case WBEM_E_SHUTTING_DOWN:
      return "WMI is shutting down";
    default:
      return nullptr;
  }
}

}  // namespace

std::string describeHresult(HRESULT hr) {
  if (const char* wbem = describeWbemCode(hr))
    return wbem;
  return describeSystemCode(static_cast<DWORD>(hr));
}

std::string describeSystemCode(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  const UniqueLocalMemory owned(buffer);
  std::string text = length > 0 ? std::string(buffer, length) : "unknown error";
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

std::string failureMessage(const std::string& what, HRESULT hr) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string code = "0x";
  for (int shift = 28; shift >= 0; shift -= 4)
    code += kHex[(static_cast<unsigned long>(hr) >> shift) & 0xF];
  return what + ": " + describeHresult(hr) + " (" + code + ")";
}

std::string win32FailureMessage(const std::string& what, DWORD error) {
  return what + ": " + describeSystemCode(error) + " (error " + std::to_string(error) + ")";
}

}  // namespace calvorin::win32
