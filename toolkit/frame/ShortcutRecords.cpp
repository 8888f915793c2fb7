// The stored form of a shortcut list: records of 6 bytes, fVirt at offset 0,
// a padding byte (written as 0, ignored when read), the virtual key at
// offset 2 and the command at offset 4, both little-endian 16 bits. Written
// by field, so the form holds whatever the compiler makes of ACCEL.
#include "toolkit/frame/ShortcutManager.h"

namespace {

const UINT kRecordSize = 6;

void PutWord(BYTE* p, WORD value) {
  p[0] = LOBYTE(value);
  p[1] = HIBYTE(value);
}

WORD GetWord(const BYTE* p) { return MAKEWORD(p[0], p[1]); }

}  // namespace

#ifndef _WIN64
static_assert(sizeof(ACCEL) == kRecordSize, "the platform's accelerator record is the stored one");
#endif

std::vector<BYTE> PackAccelerators(const std::vector<ACCEL>& list) {
  std::vector<BYTE> bytes(list.size() * kRecordSize, 0);
  BYTE* p = bytes.data();
  for (const ACCEL& accel : list) {
    p[0] = accel.fVirt;
    PutWord(p + 2, accel.key);
    PutWord(p + 4, accel.cmd);
    p += kRecordSize;
  }
  return bytes;
}

// A trailing part of a record is ignored.
std::vector<ACCEL> UnpackAccelerators(const BYTE* pData, UINT nSize) {
  std::vector<ACCEL> list(nSize / kRecordSize);
  for (ACCEL& accel : list) {
    accel.fVirt = pData[0];
    accel.key = GetWord(pData + 2);
    accel.cmd = GetWord(pData + 4);
    pData += kRecordSize;
  }
  return list;
}
