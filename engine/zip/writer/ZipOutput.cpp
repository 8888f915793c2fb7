#include "ZipOutput.h"

#include <string.h>

#include "../../common/StrongEncryption.h"
#include "../../common/WinZipAesContext.h"
#include "../messages/ZipProgress.h"
#include "../volumes/ZipDrives.h"
#include "../volumes/ZipVolumeRoom.h"
#include "../ZipCommand.h"
#include "../ZipState.h"

namespace {

const uint32_t kStrongRun = 8192;
const uint64_t kRemovablePiece = 512;
const uint64_t kMaxWriteFile = 0x40000000;

bool MultiVolume(const ZipState *state) { return (state->multiVolControl & ZMV_MULTI_VOLUME) != 0; }

bool ValidHandle(HANDLE h) { return h && h != INVALID_HANDLE_VALUE; }

int CallMemoryIo(ZipState *state, int operation, const uint8_t *bytes, uint32_t *length, uint64_t out) {
  int status = kMemoryIoMore;
  uint64_t in = state->writer.callbackInput;
  state->memoryIo(operation, const_cast<uint8_t *>(bytes), length, uint32_t(in), uint32_t(in >> 32), uint32_t(out),
                  uint32_t(out >> 32), state->memoryIoData, &status);
  return status;
}

// Operation 2: the application sees a copy of every archive byte.
bool HandOverCopy(ZipState *state, const uint8_t *bytes, uint64_t length) {
  uint32_t count = uint32_t(length);
  int status = CallMemoryIo(state, kMemoryIoHandOver, bytes, &count, state->writer.outputOffset);
  if (status == kMemoryIoLast || status == kMemoryIoFailed || status == kMemoryIoCancel) {
    state->cancel = 1;
    return false;
  }
  ZipPumpMessages(state);
  return true;
}

// One WriteFile call per gigabyte, so a 64-bit length never truncates.
uint64_t WriteFileFully(HANDLE file, const uint8_t *bytes, uint64_t length) {
  uint64_t done = 0;
  while (done < length) {
    DWORD piece = DWORD(length - done < kMaxWriteFile ? length - done : kMaxWriteFile);
    DWORD written = 0;
    if (!WriteFile(file, bytes + done, piece, &written, nullptr)) break;
    done += written;
    if (written != piece) break;
  }
  return done;
}

uint64_t WriteToParts(ZipState *state, const uint8_t *bytes, uint64_t length, HANDLE *output) {
  bool cipherBlocks = (state->multiVolControl & ZMV_SPLIT_PARTS) &&
                      (state->cipher.kind == kEncryptWinZipAes || state->cipher.kind == kEncryptStrong);
  uint64_t done = 0;
  while (done < length) {
    uint64_t rest = length - done;
    uint64_t room = ZipSpaceLeft(state);
    if (room >= rest) return done + WriteFileFully(*output, bytes + done, rest);
    // A part never ends inside a cipher block.
    if (cipherBlocks) room &= ~uint64_t(15);
    uint64_t written = WriteFileFully(*output, bytes + done, room);
    done += written;
    if (written != room || ZipNextVolume(state, output) != 0) break;
  }
  return done;
}

uint64_t WriteToRemovable(ZipState *state, const uint8_t *bytes, uint64_t length, HANDLE *output) {
  if (ZipGetFreeSpace(state->archiveName) >= length) return WriteFileFully(*output, bytes, length);
  uint64_t done = 0;
  while (done < length) {
    uint64_t piece = length - done < kRemovablePiece ? length - done : kRemovablePiece;
    if (ZipMakeRoom(state, piece) != 0) break;
    uint64_t written = WriteFileFully(*output, bytes + done, piece);
    done += written;
    if (written != piece) break;
  }
  return done;
}

void EncipherStream(ZipState *state, uint8_t *bytes, uint64_t length) {
  ZipCipherState &cipher = state->cipher;
  if (cipher.kind == kEncryptWinZipAes) {
    WinZipAesEncrypt(bytes, size_t(length), &cipher.aes);
    return;
  }
  for (uint64_t i = 0; i < length; ++i) {
    uint8_t plain = bytes[i];
    bytes[i] = plain ^ TraditionalStreamByte(&cipher.keys);
    TraditionalUpdateKeys(&cipher.keys, plain);
  }
}

bool WriteStrongRun(ZipState *state, int last, HANDLE *output) {
  size_t length = state->strongCount;
  if (StrongEncryptBlocks(state->strongContext, last, &length, &state->cipher) != 0) {
    state->result = 22;
    return false;
  }
  state->strongCount = 0;
  return ZipWriteOutput(state, state->strongContext, length, output) == length;
}

}  // namespace

uint32_t ZipCallbackWrite(ZipState *state, const uint8_t *bytes, uint32_t length) {
  uint32_t count = length;
  int status = CallMemoryIo(state, kMemoryIoWrite, bytes, &count, state->writer.callbackOutput);
  if (status == kMemoryIoCancel) state->cancel = 1;
  if (status != kMemoryIoMore) return 0;
  if (count == length) state->writer.callbackOutput += length;
  return count > length ? 0 : count;
}

int ZipWriteFailureCode(const ZipState *state, int fileCode) {
  if (state->cancel) return 9;
  return state->writer.memoryEntry ? 4 : fileCode;
}

uint64_t ZipWriteOutput(ZipState *state, const uint8_t *bytes, uint64_t length, HANDLE *output) {
  if (state->memoryIo && (state->subOptions & ZSO_CALLBACK_OUTPUT) && length > 0 &&
      !HandOverCopy(state, bytes, length))
    return 0;
  if (state->writer.memoryEntry) return length > UINT32_MAX ? 0 : ZipCallbackWrite(state, bytes, uint32_t(length));
  if (!output || !ValidHandle(*output)) return 0;

  uint64_t written;
  if (MultiVolume(state) && ValidHandle(state->volumeFile)) written = WriteToParts(state, bytes, length, output);
  else if (MultiVolume(state)) written = WriteToRemovable(state, bytes, length, output);
  else written = WriteFileFully(*output, bytes, length);
  if (MultiVolume(state)) state->writer.volumeBytes += written;
  ZipPumpMessages(state);
  return written;
}

uint64_t ZipEncryptWrite(ZipState *state, uint8_t *bytes, uint64_t length, HANDLE *output) {
  bool encrypting = state->password && !state->writer.encryptionSuspended;
  if (!encrypting) return ZipWriteOutput(state, bytes, length, output);
  if (state->cipher.kind != kEncryptStrong) {
    EncipherStream(state, bytes, length);
    return ZipWriteOutput(state, bytes, length, output);
  }
  if (!state->strongContext) return 0;
  uint64_t taken = 0;
  while (taken < length) {
    uint32_t room = kStrongRun - state->strongCount;
    uint32_t piece = uint32_t(length - taken < room ? length - taken : room);
    memcpy(state->strongContext + state->strongCount, bytes + taken, piece);
    state->strongCount += piece;
    taken += piece;
    if (state->strongCount == kStrongRun && !WriteStrongRun(state, 0, output)) return 0;
  }
  if (state->strongFlag && !ZipFlushStrong(state, output)) return 0;
  return length;
}

int ZipFlushStrong(ZipState *state, HANDLE *output) {
  state->strongFlag = 0;
  if (!state->strongContext) return 0;
  return WriteStrongRun(state, 1, output) ? 1 : 0;
}
