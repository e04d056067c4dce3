/* The least program that does Calvorin's job at start-up, written in C
 * without a language library of its own: joins COM, connects to WMI and
 * reads the Messenger service's State once, reads the auto-start value,
 * makes a hidden window with a menu and puts one icon in the tray, then
 * waits in its message loop until it is ended. The second yardstick that
 * bench/run measures Calvorin's start-up and memory against. */
#define COBJMACROS
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <wbemcli.h>

static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

/* The service's State, read once, as Calvorin's start-up does. */
static void read_service(void) {
  IWbemLocator* locator = NULL;
  IWbemServices* services = NULL;
  IWbemClassObject* service = NULL;
  BSTR resource = SysAllocString(L"root\\cimv2");
  BSTR path = SysAllocString(L"Win32_Service.Name='Messenger'");
  VARIANT state;
  VariantInit(&state);
  if (SUCCEEDED(CoCreateInstance(&CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, &IID_IWbemLocator,
                                 (void**)&locator)) &&
      SUCCEEDED(IWbemLocator_ConnectServer(locator, resource, NULL, NULL, NULL, 0, NULL, NULL,
                                           &services)) &&
      SUCCEEDED(IWbemServices_GetObject(services, path, 0, NULL, &service, NULL))) {
    IWbemClassObject_Get(service, L"State", 0, &state, NULL, NULL);
  }
  VariantClear(&state);
  if (service)
    IWbemClassObject_Release(service);
  if (services)
    IWbemServices_Release(services);
  if (locator)
    IWbemLocator_Release(locator);
  SysFreeString(path);
  SysFreeString(resource);
}

static void read_auto_start(void) {
  HKEY run = NULL;
  char data[MAX_PATH];
  DWORD length = sizeof data;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                    KEY_READ, &run) == ERROR_SUCCESS) {
    RegQueryValueExA(run, "Calvorin", NULL, NULL, (BYTE*)data, &length);
    RegCloseKey(run);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  WNDCLASSA window_class = {0};
  HMENU bar = CreateMenu();
  HMENU service_menu = CreatePopupMenu();
  NOTIFYICONDATAA icon = {0};
  HWND window;
  MSG message;
  (void)previous;
  (void)command_line;
  (void)show;

  CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                       NULL, EOAC_NONE, NULL);
  read_service();
  read_auto_start();

  window_class.lpfnWndProc = window_proc;
  window_class.hInstance = instance;
  window_class.lpszClassName = "LeastProgram";
  RegisterClassA(&window_class);
  AppendMenuA(service_menu, MF_STRING, 1, "&Start");
  AppendMenuA(service_menu, MF_STRING, 2, "&Stop");
  AppendMenuA(bar, MF_POPUP, (UINT_PTR)service_menu, "Messenger Service");
  window = CreateWindowA("LeastProgram", "Least program", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, 360, 200, NULL, bar, instance, NULL);

  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconA(NULL, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */);
  lstrcpyA(icon.szTip, "Service is Running");
  Shell_NotifyIconA(NIM_ADD, &icon);

  while (GetMessageA(&message, NULL, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  Shell_NotifyIconA(NIM_DELETE, &icon);
  CoUninitialize();
  return 0;
}
