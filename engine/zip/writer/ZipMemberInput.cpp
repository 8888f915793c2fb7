#include "ZipMemberInput.h"

#include <stdlib.h>
#include <string.h>

#include "../../common/Crc32.h"
#include "../messages/ZipProgress.h"
#include "../ZipState.h"

namespace {

enum : uint32_t { kPrePassPiece = 8192 };

bool Converting(const ZipState *state) { return state->convertLineEnds > 0; }

// A bare LF becomes CR LF (a CR LF pair stays whole, also across two reads);
// a DBCS lead byte and its trail pass as a pair. Stops before a pair that
// would not fit; *used gets the source bytes taken.
uint32_t ConvertLineEnds(int *lastWasCr, const uint8_t *source, uint32_t available, uint8_t *out, uint32_t room,
                         uint32_t *used) {
  uint32_t in = 0, written = 0;
  while (in < available) {
    uint8_t c = source[in];
    bool bareLf = c == '\n' && !*lastWasCr;
    bool pair = bareLf || (IsDBCSLeadByte(c) && in + 1 < available);
    if (written + (pair ? 2 : 1) > room) break;
    *lastWasCr = c == '\r';
    if (bareLf) {
      out[written++] = '\r';
      out[written++] = '\n';
      ++in;
    } else if (pair) {
      out[written++] = c;
      out[written++] = source[in + 1];
      in += 2;
    } else {
      out[written++] = c;
      ++in;
    }
  }
  *used = in;
  return written;
}

// Accounts the delivered bytes of any reader.
uint32_t Deliver(ZipState *state, const uint8_t *buffer, uint32_t count) {
  ZipWriterState &w = state->writer;
  ZipCrc32(state, buffer, count);
  w.inputCount += count;
  if (w.prePass) ZipMinorStatus(w.currentName, 100, 0);
  else ZipMinorStatus(w.currentName, w.expectedSize, w.inputCount);
  return count;
}

int CallRead(ZipState *state, uint8_t *buffer, uint32_t *length, uint64_t position) {
  int status = kMemoryIoMore;
  uint64_t out = state->writer.callbackOutput;
  state->memoryIo(kMemoryIoRead, buffer, length, uint32_t(position), uint32_t(position >> 32), uint32_t(out),
                  uint32_t(out >> 32), state->memoryIoData, &status);
  return status;
}

// Asks the callback until want bytes came or it stops; 0 or a result code.
int ReadFromCallback(ZipState *state, uint8_t *buffer, uint32_t want, uint32_t *got) {
  ZipWriterState &w = state->writer;
  *got = 0;
  int status = kMemoryIoMore;
  while (status == kMemoryIoMore && *got < want) {
    uint32_t length = want - *got;
    status = CallRead(state, buffer + *got, &length, w.callbackInput + *got);
    // A callback that claims more than it was asked for has overrun nothing
    // we trust; the member fails rather than read past the buffer.
    if (length > want - *got) return 11;
    if (status == kMemoryIoCancel) {
      state->cancel = 1;
      *got = 0;
      return 9;
    }
    if (status != kMemoryIoMore && status != kMemoryIoLast) return 11;
    *got += length;
    if (status == kMemoryIoMore && length == 0) break;
  }
  w.callbackInput += *got;
  if (status != kMemoryIoMore || *got < want) w.inputExhausted = 1;
  return 0;
}

}  // namespace

void ZipBeginMember(ZipState *state, const char *name) {
  ZipWriterState &w = state->writer;
  w.runningCrc = 0;
  w.inputCount = 0;
  w.expectedSize = 0;
  w.callbackInput = 0;
  w.callbackOutput = 0;
  w.inputExhausted = 0;
  w.prePass = 0;
  w.deferredEncryption = 0;
  w.encryptWhileWriting = 0;
  w.encryptionSuspended = 0;
  w.cryptHeaderLength = 0;
  w.input = INVALID_HANDLE_VALUE;
  w.memoryPosition = 0;
  w.lastWasCr = 0;
  w.currentName = name ? name : "";
  state->strongCount = 0;
  state->strongFlag = 0;
}

uint32_t ZipCrc32(ZipState *state, const uint8_t *buffer, size_t length) {
  if (!buffer) return 0;
  state->writer.runningCrc = Crc32Continue(state->writer.runningCrc, buffer, length);
  return state->writer.runningCrc;
}

uint32_t ZipReadFileInput(ZipState *state, uint8_t *buffer, uint32_t count) {
  uint32_t want = Converting(state) ? count / 2 : count;
  uint8_t *target = Converting(state) ? buffer + count - want : buffer;
  DWORD got = 0;
  if (!ReadFile(state->writer.input, target, want, &got, nullptr) && GetLastError() != 0) {
    state->result = 11;
    return 0;
  }
  if (Converting(state)) {
    // The text was read into the buffer's upper half; converting forwards
    // never overtakes it, as each source byte makes at most two.
    uint32_t used;
    got = ConvertLineEnds(&state->writer.lastWasCr, target, got, buffer, count, &used);
  }
  return Deliver(state, buffer, got);
}

uint32_t ZipReadMemoryInput(ZipState *state, uint8_t *buffer, uint32_t count) {
  if (state->memoryIo) return ZipReadCallbackInput(state, buffer, count);
  ZipWriterState &w = state->writer;
  uint64_t left = state->memBlockSize - w.memoryPosition;
  uint32_t available = uint32_t(left < count ? left : count);
  const uint8_t *source = state->memBlock + w.memoryPosition;
  uint32_t got = available, used = available;
  if (Converting(state)) got = ConvertLineEnds(&w.lastWasCr, source, available, buffer, count, &used);
  else if (got) memcpy(buffer, source, got);
  w.memoryPosition += used;
  return Deliver(state, buffer, got);
}

uint32_t ZipReadCallbackInput(ZipState *state, uint8_t *buffer, uint32_t count) {
  if (state->writer.inputExhausted || state->result) return 0;
  if (!Converting(state)) {
    uint32_t got;
    int result = ReadFromCallback(state, buffer, count, &got);
    if (result) state->result = result;
    return result ? 0 : Deliver(state, buffer, got);
  }
  uint32_t want = count / 2;
  uint8_t *copy = static_cast<uint8_t *>(malloc(want ? want : 1));
  if (!copy) {
    state->result = 4;
    return 0;
  }
  uint32_t got, used;
  int result = ReadFromCallback(state, copy, want, &got);
  if (result) state->result = result;
  got = result ? 0 : ConvertLineEnds(&state->writer.lastWasCr, copy, got, buffer, count, &used);
  free(copy);
  return Deliver(state, buffer, got);
}

uint32_t ZipPrecomputeCrc(ZipState *state, uint32_t dosDateTime, int *result) {
  ZipWriterState &w = state->writer;
  *result = 0;
  bool file = w.input && w.input != INVALID_HANDLE_VALUE;
  if (!file && (!state->memorySource || state->memoryIo)) return dosDateTime << 16;
  uint8_t *piece = static_cast<uint8_t *>(malloc(kPrePassPiece));
  if (!piece) {
    *result = 4;
    return 0;
  }
  LARGE_INTEGER zero = {}, saved = {};
  if (file) SetFilePointerEx(w.input, zero, &saved, FILE_CURRENT);
  uint64_t savedMemory = w.memoryPosition;
  uint32_t savedCrc = w.runningCrc;
  int savedLastWasCr = w.lastWasCr;
  w.runningCrc = 0;
  w.prePass = 1;
  while ((file ? ZipReadFileInput(state, piece, kPrePassPiece) : ZipReadMemoryInput(state, piece, kPrePassPiece)) &&
         !state->cancel) {
  }
  w.prePass = 0;
  uint32_t crc = w.runningCrc;
  w.runningCrc = savedCrc;
  if (file) SetFilePointerEx(w.input, saved, nullptr, FILE_BEGIN);
  w.memoryPosition = savedMemory;
  w.lastWasCr = savedLastWasCr;
  free(piece);
  if (state->cancel) *result = 9;
  return crc;
}
