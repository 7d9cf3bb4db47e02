// A helper process for the system tests: it waits (60 s, or the seconds given) and ends.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Sleep(static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 60) * 1000);
  return 3;
}
