/* Checks a Wine prefix from inside: a CryptoAPI context and a shell link object can be
   created. Built for each architecture; exits 0 when both work, else prints what failed. */
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <stdio.h>
#include <wincrypt.h>

int main(void) {
  int fallos = 0;
  HCRYPTPROV prov = 0;
  if (CryptAcquireContextA(&prov, NULL, NULL, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    CryptReleaseContext(prov, 0);
  } else {
    printf("CryptAcquireContextA failed: 0x%08lx\n", GetLastError());
    ++fallos;
  }
  HRESULT hr = CoInitialize(NULL);
  IShellLinkA* enlace = NULL;
  hr = CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA, (void**)&enlace);
  if (SUCCEEDED(hr)) {
    enlace->lpVtbl->Release(enlace);
  } else {
    printf("CoCreateInstance(CLSID_ShellLink) failed: 0x%08lx\n", (unsigned long)hr);
    ++fallos;
  }
  CoUninitialize();
  return fallos;
}
