#include "toolkit/common/MenuHelpers.h"

#include <stddef.h>
#include <string.h>

#include <string>

#include "toolkit/common/SharedState.h"

namespace {

bool StartsDoubleByte(LPCSTR p) { return ::IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0'; }

}  // namespace

void InitMenuItemInfo(MENUITEMINFOA* info) {
  memset(info, 0, sizeof *info);
  info->cbSize = GetSharedState().m_isNT4 ? offsetof(MENUITEMINFOA, hbmpItem) : sizeof *info;
}

void StripMnemonics(CString& text) {
  std::string kept;
  for (LPCSTR p = text; *p;) {
    if (StartsDoubleByte(p)) {
      kept.append(p, 2);
      p += 2;
    } else if (p[0] == '&' && p[1] == '&') {
      kept.append("&&");
      p += 2;
    } else {
      if (*p != '&') kept.push_back(*p);
      ++p;
    }
  }
  text = kept.c_str();
}

void RemoveChar(CString& text, char c) {
  std::string kept;
  for (LPCSTR p = text; *p;) {
    if (StartsDoubleByte(p)) {
      kept.append(p, 2);
      p += 2;
    } else {
      if (*p != c) kept.push_back(*p);
      ++p;
    }
  }
  text = kept.c_str();
}
