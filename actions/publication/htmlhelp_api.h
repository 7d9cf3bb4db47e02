// The values of the HTML Help API that the plug-in uses (htmlhelp.h is not part of every
// toolchain), shared with the host simulator that records the requests.
#pragma once
#include <windows.h>

namespace pelmaro::htmlhelp {

constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kDisplayToc = 0x0001;
constexpr UINT kDisplayIndex = 0x0002;
constexpr UINT kDisplaySearch = 0x0003;
constexpr UINT kHelpContext = 0x000F;
constexpr UINT kCloseAll = 0x0012;

// HH_FTS_QUERY, ANSI.
struct ConsultaBusqueda {
  int cbStruct;
  BOOL fUniCodeStrings;
  LPCSTR pszSearchQuery;
  LONG iProximity;
  BOOL fStemmedSearch;
  BOOL fTitleOnly;
  BOOL fExecute;
  LPCSTR pszWindow;
};

using FuncionHtmlHelp = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

}  // namespace pelmaro::htmlhelp
