// Stands in for a program that Calvorin launches (the help viewer, the
// browser) or must never launch (C:\Program.exe): it only records that it
// ran, as "<its own path>|<its command line>", in C:\stub-calls.log.
#include <cstdio>

#include <windows.h>

int main() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (std::FILE* log = std::fopen("C:\\stub-calls.log", "a")) {
    std::fprintf(log, "%s|%s\n", self, GetCommandLineA());
    std::fclose(log);
  }
  return 0;
}
