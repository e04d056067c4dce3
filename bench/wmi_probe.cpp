// The least a WMI client can do to read the Messenger service: join COM,
// connect, fetch the object once. The baseline Calvorin's start-up and
// memory are measured against. With --stay it then waits to be ended.
#include <cstring>

#include <windows.h>
#include <objbase.h>
#include <wbemcli.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/com_values.h"

namespace {

using calvorin::win32::Bstr;
using calvorin::win32::ComPtr;

HRESULT fetchMessenger(bool stay) {
  ComPtr<IWbemLocator> locator;
  ComPtr<IWbemServices> services;
  ComPtr<IWbemClassObject> service;
  const Bstr resource("\\\\.\\root\\cimv2");
  const Bstr path("Win32_Service.Name='Messenger'");
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.putVoid());
  if (SUCCEEDED(hr)) {
    hr = locator->ConnectServer(resource.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                services.put());
  }
  if (SUCCEEDED(hr))
    hr = services->GetObject(path.get(), 0, nullptr, service.put(), nullptr);
  if (stay)
    Sleep(INFINITE);
  return hr;
}

}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  // Every COM object is released before COM is left.
  const HRESULT hr = fetchMessenger(argc > 1 && std::strcmp(argv[1], "--stay") == 0);
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}
