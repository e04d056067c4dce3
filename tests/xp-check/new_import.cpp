// Must fail the Windows XP load check: it imports GetTickCount64, which
// KERNEL32 exports from Vista on. Declared here because the XP headers
// rightly do not.
extern "C" __declspec(dllimport) unsigned long long __stdcall GetTickCount64();

int main() {
  return GetTickCount64() == 0;
}
