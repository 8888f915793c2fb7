#include "MemberNameText.h"

int TextToWide(UINT codePage, const char *text, wchar_t *out, int capacity) {
  DWORD strict = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  int length = MultiByteToWideChar(codePage, strict, text, -1, out, capacity);
  if (length > 0) return 1;
  if (capacity > 0) out[0] = L'\0';
  return 0;
}

void WideToAnsi(const wchar_t *text, char *out, int capacity) {
  if (capacity <= 0) return;
  if (WideCharToMultiByte(CP_ACP, 0, text, -1, out, capacity, nullptr, nullptr) > 0) return;
  // Too long for the buffer: the conversion stops at its end.
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) {
    out[0] = '\0';
    return;
  }
  char *whole = static_cast<char *>(HeapAlloc(GetProcessHeap(), 0, length));
  if (!whole) {
    out[0] = '\0';
    return;
  }
  WideCharToMultiByte(CP_ACP, 0, text, -1, whole, length, nullptr, nullptr);
  lstrcpynA(out, whole, capacity);
  HeapFree(GetProcessHeap(), 0, whole);
}

void MemberNameToAnsi(CurrentMember *member, int keepStored) {
  wchar_t wide[kMemberUtf8NameCapacity];
  if (member->nameIsUtf8 && TextToWide(CP_UTF8, member->utf8Name, wide, kMemberUtf8NameCapacity)) {
    WideToAnsi(wide, member->name, sizeof member->name);
    return;
  }
  member->nameIsUtf8 = 0;
  if (!keepStored) OemToCharA(member->name, member->name);
}
