#include "UnzipInput.h"

#include <cstdio>
#include <cstring>
#include "../common/EncryptionKind.h"
#include "ArchiveDirectory.h"
#include "PathNames.h"
#include "UnzipDriveServices.h"
#include "UnzipFiles.h"
#include "UnzipReport.h"

static_assert(static_cast<int>(kMemberIoPathCapacity) == static_cast<int>(kUnzipPathCapacity), "the open volume's path is a volume path");

int InputFileOpen(const char *path) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 9;
  // Members of one command mostly lie in the same file: its handle stays open.
  if (state->volumeHandle != INVALID_HANDLE_VALUE && strcmp(state->io.openVolume, path) == 0) return 0;
  InputFileClose();
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 5 && file == INVALID_HANDLE_VALUE; ++attempt)
    file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  state->volumeHandle = file;
  lstrcpynA(state->io.openVolume, file == INVALID_HANDLE_VALUE ? "" : path, sizeof state->io.openVolume);
  return file == INVALID_HANDLE_VALUE ? 9 : 0;
}

int InputFileClose() {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 9;
  if (state->volumeHandle == INVALID_HANDLE_VALUE) return 0;
  BOOL closed = CloseHandle(state->volumeHandle);
  state->volumeHandle = INVALID_HANDLE_VALUE;
  return closed ? 0 : 9;
}

int CheckVolumeLabel(const char *path, int disk) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 4;
  if (state->splitFiles || state->skipLabelCheck) return 1;
  if (!path || !path[0] || !state->directory.spanned) return 0;
  int drive = DriveNumberOfPath(path);
  if (!IsRemovableDrive(drive) || drive < 1) return 0;
  char root[8];
  snprintf(root, sizeof root, "%c:\\", 'A' + drive - 1);
  char label[21] = "";
  if (!UnzipDrive().volumeLabel(root, label, sizeof label)) return 0;
  char expected[21];
  snprintf(expected, sizeof expected, "PKBACK# %03d", disk);
  return strcmp(label, expected) == 0;
}

void InputStart(UnzipState *state, int64_t remaining, int unknownLength) {
  MemberInput &in = state->io.input;
  in.position = in.fill = in.heldBack = 0;
  in.remaining = remaining;
  in.unknownLength = unknownLength;
  in.sourceEnded = in.finished = in.failed = in.decrypt = 0;
  in.spanned = !unknownLength && state->directory.spanned;
  in.disk = state->directory.currentDisk;
  uint32_t thisDisk = state->directory.end.thisDisk;
  in.lastDisk = in.spanned && thisDisk != UINT32_MAX ? thisDisk : UINT32_MAX;
}

// Function 10: up to n bytes through operation 0 of the memory callback.
static size_t CallbackRead(UnzipState *state, uint8_t *out, size_t n) {
  MemberInput &in = state->io.input;
  size_t got = 0;
  while (got < n && !in.sourceEnded) {
    uint32_t length = static_cast<uint32_t>(n - got);
    int status = kMemoryIoMore;
    state->memoryIo(kMemoryIoRead, out + got, &length, static_cast<uint32_t>(state->readPosition),
                    static_cast<uint32_t>(state->readPosition >> 32), static_cast<uint32_t>(state->writePosition),
                    static_cast<uint32_t>(state->writePosition >> 32), state->memoryIoData, &status);
    if (length > n - got) {  // more than the buffer holds: nothing of it is trusted
      in.failed = in.sourceEnded = 1;
      break;
    }
    got += length;
    state->readPosition += length;
    if (status == kMemoryIoMore && length > 0) continue;
    in.sourceEnded = 1;
    state->memoryInputEnded = 1;
    if (status == kMemoryIoCancel) state->cancelFlag = 1;
    else if (status != kMemoryIoMore && status != kMemoryIoLast) in.failed = 1;
  }
  return got;
}

// Puts the next disk or split part in place as the data handle; 1, or 0 when
// the input cannot go on (cancel flag set when the user declined).
static int NextVolume(UnzipState *state) {
  MemberInput &in = state->io.input;
  if (in.lastDisk != UINT32_MAX && in.disk >= in.lastDisk) return 0;
  InputFileClose();
  int wanted = static_cast<int>(in.disk) + 2;
  int total = in.lastDisk != UINT32_MAX ? static_cast<int>(in.lastDisk) + 1 : 0;
  for (;;) {
    if (state->splitFiles) {
      if (OpenSplitPart(wanted, total) != 1) {
        state->cancelFlag = 1;
        return 0;
      }
    } else {
      int answer = UnzipShowMessage(kUnzipMsgDiskPrompt, MB_OKCANCEL, wanted, 0, nullptr);
      if (answer == IDCANCEL) state->cancelFlag = 1;
      if (answer != IDOK) return 0;
    }
    const char *path = state->splitFiles ? state->volumePath : state->archiveName;
    if (!CheckVolumeLabel(path, wanted)) continue;
    if (InputFileOpen(path) == 0) break;
    if (state->splitFiles) return 0;
  }
  in.disk++;
  return 1;
}

static size_t FileRead(UnzipState *state, uint8_t *out, size_t n) {
  MemberInput &in = state->io.input;
  size_t got = 0;
  while (got < n) {
    DWORD read = 0;
    if (state->volumeHandle != INVALID_HANDLE_VALUE &&
        ReadFile(state->volumeHandle, out + got, static_cast<DWORD>(n - got), &read, nullptr) && read > 0) {
      got += read;
      continue;
    }
    if (in.spanned && !state->cancelFlag && NextVolume(state)) continue;
    // The archive ends inside the member's data.
    in.sourceEnded = in.failed = 1;
    break;
  }
  return got;
}

static size_t SourceRead(UnzipState *state, uint8_t *out, size_t n) {
  MemberInput &in = state->io.input;
  if (!in.unknownLength && static_cast<int64_t>(n) > in.remaining) n = in.remaining > 0 ? static_cast<size_t>(in.remaining) : 0;
  if (n == 0 || in.sourceEnded || state->cancelFlag) return 0;
  size_t got = state->streamEntry ? CallbackRead(state, out, n) : FileRead(state, out, n);
  if (!in.unknownLength) in.remaining -= static_cast<int64_t>(got);
  return got;
}

size_t InputReadRaw(UnzipState *state, uint8_t *out, size_t n) { return SourceRead(state, out, n); }

// Option bit 12: every refill is shown to the callback as operation 2 too.
static void HandOver(UnzipState *state, uint8_t *bytes, uint32_t count) {
  if (!state->callbackRecordUsed || !state->memoryIo || count == 0) return;
  int status = kMemoryIoMore;
  uint32_t length = count;
  state->memoryIo(kMemoryIoHandOver, bytes, &length, static_cast<uint32_t>(state->readPosition),
                  static_cast<uint32_t>(state->readPosition >> 32), static_cast<uint32_t>(state->writePosition),
                  static_cast<uint32_t>(state->writePosition >> 32), state->memoryIoData, &status);
  if (status != kMemoryIoMore) {
    state->io.input.sourceEnded = 1;
    state->cancelFlag = 1;
  }
}

// Raw bytes at the end of what is at hand that must wait for the next
// refill: while the length is unknown, a strongly encrypted member's last
// block (its padding is checked at the very end) and a WinZip AES member's
// authentication code could be in them.
static uint32_t HoldBack(const UnzipState *state, uint32_t total) {
  const MemberInput &in = state->io.input;
  if (!in.decrypt || !in.unknownLength) return 0;
  // The code stays back to the very end; the last block goes once the end is known.
  if (state->cipher.kind == kEncryptWinZipAes)
    return total < uint32_t{kWinZipAesAuthCodeLength} ? total : uint32_t{kWinZipAesAuthCodeLength};
  if (state->cipher.kind == kEncryptStrong && !in.sourceEnded) return total - (total > 0 ? (total - 1) / 16 * 16 : 0);
  return 0;
}

static bool InputAtEnd(const MemberInput &in) { return in.unknownLength ? in.sourceEnded != 0 : in.remaining <= 0; }

// Fills the buffer with the next deciphered bytes; their count, 0 at the end.
static uint32_t Refill(UnzipState *state) {
  MemberInput &in = state->io.input;
  in.position = in.fill = 0;
  if (in.finished) return 0;
  uint32_t bufferSize = in.capacity - kInputHoldBackMax;
  for (;;) {
    uint32_t total = in.heldBack;
    memcpy(in.buffer, in.hold, total);
    in.heldBack = 0;
    uint32_t got = static_cast<uint32_t>(SourceRead(state, in.buffer + total, bufferSize));
    HandOver(state, in.buffer + total, got);
    total += got;
    uint32_t keep = HoldBack(state, total);
    size_t plain = total - keep;
    memcpy(in.hold, in.buffer + plain, keep);
    in.heldBack = keep;
    bool strong = in.decrypt && state->cipher.kind == kEncryptStrong;
    bool last = InputAtEnd(in) && keep == 0;
    if (in.decrypt && (plain > 0 || (strong && last && !in.failed))) {
      int last16 = strong && last;
      if (UnzipDecryptInput(&state->cipher, in.buffer, &plain, last16) != 0) {
        in.failed = in.sourceEnded = 1;
        plain = 0;
      }
    }
    in.fill = static_cast<uint32_t>(plain);
    in.finished = last;
    if (in.fill > 0 || got == 0 || last || state->cancelFlag) return in.fill;
  }
}

ptrdiff_t InputRun(UnzipState *state, const uint8_t **bytes) {
  MemberInput &in = state->io.input;
  if (state->cancelFlag) return -1;
  if (in.position >= in.fill && Refill(state) == 0) return state->cancelFlag ? -1 : 0;
  *bytes = in.buffer + in.position;
  ptrdiff_t run = in.fill - in.position;
  in.position = in.fill;
  return run;
}

void InputDrain(UnzipState *state) {
  const uint8_t *bytes;
  while (InputRun(state, &bytes) > 0) {
  }
}

int InputTakeTrailer(UnzipState *state, uint8_t *code, size_t n) {
  MemberInput &in = state->io.input;
  InputDrain(state);
  if (in.unknownLength) {
    if (in.heldBack != n) return 0;
    memcpy(code, in.hold, n);
    return 1;
  }
  in.remaining = static_cast<int64_t>(n);
  in.sourceEnded = 0;
  return InputReadRaw(state, code, n) == n;
}

static size_t ReadRawForCipher(void *context, uint8_t *out, size_t n) {
  return InputReadRaw(static_cast<UnzipState *>(context), out, n);
}

int InputDecryptionSetup(UnzipState *state) {
  MemberInput &in = state->io.input;
  const CurrentMember &member = state->directory.member;
  MemberCryptFacts facts;
  memset(&facts, 0, sizeof facts);
  facts.centralFlags = ReadLe16(member.central + kChFlags);
  facts.localFlags = ReadLe16(state->localHeader + kLhFlags);
  facts.localModTime = ReadLe16(state->localHeader + kLhTime);
  facts.crc32 = ReadLe32(member.central + kChCrc);
  facts.uncompressedSize = member.values.uncompressedSize;
  if (member.extras.aesLength) {
    facts.aesExtra = member.extras.aes;
    facts.aesExtraLength = member.extras.aesLength;
  }
  if (member.extras.strongLength && (facts.centralFlags & kZipFlagStrongEncryption)) {
    facts.strongExtra = member.extras.strong;
    facts.strongExtraLength = member.extras.strongLength;
  }
  CipherInput input;
  input.read = ReadRawForCipher;
  input.context = state;
  input.remaining = in.unknownLength ? INT64_MAX / 2 : in.remaining;
  // The header readers count the member's stored bytes themselves.
  int64_t before = in.remaining;
  in.remaining = INT64_MAX;
  int result = DecryptionSetup(&state->cipher, &facts, state->password, &input);
  in.remaining = in.unknownLength ? before : input.remaining;
  in.decrypt = result == 0;
  return result;
}
