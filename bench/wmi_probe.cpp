// The least a WMI client can do to read the Messenger service: join COM,
// connect, fetch the object once. The baseline Calvorin's start-up and
// memory are measured against. With --stay it then waits to be ended.
#include <cstring>

#include <windows.h>
#include <objbase.h>
#include <wbemcli.h>

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  IWbemLocator* locator = nullptr;
  IWbemServices* services = nullptr;
  IWbemClassObject* service = nullptr;
  BSTR resource = SysAllocString(L"\\\\.\\root\\cimv2");
  BSTR path = SysAllocString(L"Win32_Service.Name='Messenger'");
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(&locator));
  if (SUCCEEDED(hr)) {
    hr =
        locator->ConnectServer(resource, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services);
  }
  if (SUCCEEDED(hr))
    hr = services->GetObject(path, 0, nullptr, &service, nullptr);
  if (argc > 1 && std::strcmp(argv[1], "--stay") == 0)
    Sleep(INFINITE);
  if (service)
    service->Release();
  if (services)
    services->Release();
  if (locator)
    locator->Release();
  SysFreeString(path);
  SysFreeString(resource);
  CoUninitialize();
  return SUCCEEDED(hr) ? 0 : 1;
}
