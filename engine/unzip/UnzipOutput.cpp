#include "UnzipOutput.h"

#include <cstring>
#include "../common/Crc32.h"
#include "UnzipProgress.h"

void OutputStart(UnzipState *state, int sink, HANDLE file, uint64_t limit) {
  MemberOutput &out = state->io.output;
  out.sink = sink;
  out.file = file;
  out.fill = 0;
  out.handedOn = 0;
  out.limit = limit;
  out.error = kOutputOk;
  out.sizeExceeded = 0;
  out.crc = 0xFFFFFFFF;
  out.skipped = out.placed = 0;
  out.convertLineEnds = sink != kSinkNone && state->outputModeWord == kOutputModeText;
  out.lastWasCr = 0;
  // Stale bytes of an earlier member never look like output.
  memset(out.buffer, 0xAA, out.capacity);
}

uint32_t OutputCrc(const UnzipState *state) { return ~state->io.output.crc; }

static bool WriteAll(HANDLE file, const uint8_t *bytes, uint32_t count) {
  int idle = 0;
  while (count > 0) {
    DWORD written = 0;
    if (!WriteFile(file, bytes, count, &written, nullptr)) return false;
    if (written == 0 && ++idle >= 20) return false;
    bytes += written;
    count -= written;
  }
  return true;
}

// Text mode: the bytes with a CR put before each LF that has none, into
// converted (room for 2 x count); the converted count. A CR LF pair already
// there is kept as it is, also across two buffers.
static uint64_t ConvertLineEnds(MemberOutput &out, const uint8_t *bytes, uint64_t count, uint8_t *converted) {
  uint64_t length = 0;
  for (uint64_t i = 0; i < count; ++i) {
    if (bytes[i] == '\n' && !out.lastWasCr) converted[length++] = '\r';
    converted[length++] = bytes[i];
    out.lastWasCr = bytes[i] == '\r';
  }
  return length;
}

// Where the converted bytes of one flush are made; null when there is no room.
static uint8_t *ConversionBuffer(uint64_t count) {
  return static_cast<uint8_t *>(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(count * 2 + 1)));
}

// Offers bytes to the memory callback's write operation until it has taken
// them all or says it wants no more.
static void OfferToCallback(UnzipState *state, const uint8_t *bytes, uint64_t count) {
  MemberOutput &out = state->io.output;
  while (count > 0 && out.error == kOutputOk) {
    uint32_t length = count > 0x40000000 ? 0x40000000 : static_cast<uint32_t>(count);
    uint32_t offered = length;
    int status = kMemoryIoMore;
    state->memoryIo(kMemoryIoWrite, const_cast<uint8_t *>(bytes), &length, static_cast<uint32_t>(state->readPosition),
                    static_cast<uint32_t>(state->readPosition >> 32), static_cast<uint32_t>(state->writePosition),
                    static_cast<uint32_t>(state->writePosition >> 32), state->memoryIoData, &status);
    if (length > offered) length = 0, status = kMemoryIoFailed;
    bytes += length;
    count -= length;
    state->writePosition += length;
    if (status == kMemoryIoLast) return;
    if (status == kMemoryIoMore && length > 0) continue;
    out.error = kOutputFailed;
    if (status != kMemoryIoFailed) state->cancelFlag = 1;
  }
}

static bool WritesToWindow(const MemberOutput &out) { return out.sink == kSinkMemory || out.sink == kSinkWindowCallback; }

// Functions 9 and 11: the member's bytes before the starting offset are dropped.
static void SkipBeforeWindow(UnzipState *state, const uint8_t **bytes, uint64_t *count) {
  MemberOutput &out = state->io.output;
  uint64_t skip = state->startingOffset - out.skipped;
  if (skip > *count) skip = *count;
  out.skipped += skip;
  *bytes += skip;
  *count -= skip;
}

// Functions 9 and 11: as far as the block reaches, the bytes go to the block
// or to the callback.
static void PlaceInWindow(UnzipState *state, const uint8_t *bytes, uint64_t count) {
  MemberOutput &out = state->io.output;
  uint64_t room = state->memBlockSize - out.placed;
  uint64_t take = count < room ? count : room;
  if (out.sink == kSinkMemory)
    memcpy(state->memBlock + out.placed, bytes, static_cast<size_t>(take));
  else
    OfferToCallback(state, bytes, take);
  out.placed += take;
  if (count > take && out.error == kOutputOk) {
    out.error = kOutputFull;
    state->cancelFlag = 1;
  }
}

static void Deliver(UnzipState *state, const uint8_t *bytes, uint64_t count) {
  MemberOutput &out = state->io.output;
  switch (out.sink) {
    case kSinkFile:
      if (!WriteAll(out.file, bytes, static_cast<uint32_t>(count))) out.error = kOutputFull;
      break;
    case kSinkMemory:
    case kSinkWindowCallback:
      PlaceInWindow(state, bytes, count);
      break;
    case kSinkCallback:
      OfferToCallback(state, bytes, count);
      break;
    default:
      break;
  }
}

// Hands the n decoded bytes on, their line ends converted in text mode.
static void DeliverDecoded(UnzipState *state, const uint8_t *bytes, uint64_t count) {
  MemberOutput &out = state->io.output;
  if (WritesToWindow(out)) SkipBeforeWindow(state, &bytes, &count);
  if (!out.convertLineEnds || count == 0) return Deliver(state, bytes, count);
  uint8_t *converted = ConversionBuffer(count);
  if (!converted) {
    out.error = kOutputFull;
    return;
  }
  Deliver(state, converted, ConvertLineEnds(out, bytes, count, converted));
  HeapFree(GetProcessHeap(), 0, converted);
}

// Checks, counts and hands on n decoded bytes (at most a buffer's worth),
// wherever they lie.
static void HandOn(UnzipState *state, const uint8_t *bytes, uint32_t n) {
  MemberOutput &out = state->io.output;
  // A member never writes more than its header says it holds.
  if (out.limit != UINT64_MAX && out.handedOn + n > out.limit) {
    n = static_cast<uint32_t>(out.limit - out.handedOn);
    out.sizeExceeded = 1;
    state->cancelFlag = 1;
  }
  out.crc = Crc32Fold(out.crc, bytes, n);
  DeliverDecoded(state, bytes, n);
  out.handedOn += n;
  UnzipMinorStatus(out.handedOn);
}

int FlushOutput(UnzipState *state) {
  MemberOutput &out = state->io.output;
  if (out.error != kOutputOk) {
    out.handedOn += out.fill;
    out.fill = 0;
    return 50;
  }
  if (out.fill == 0) return 0;
  uint32_t n = out.fill;
  out.fill = 0;
  HandOn(state, out.buffer, n);
  return out.error == kOutputFull && out.sink == kSinkFile ? 50 : 0;
}

int OutputWrite(UnzipState *state, const uint8_t *bytes, size_t count) {
  MemberOutput &out = state->io.output;
  while (count > 0) {
    if (out.error != kOutputOk || state->cancelFlag) return 1;
    uint32_t take = out.capacity - out.fill;
    if (take > count) take = static_cast<uint32_t>(count);
    if (take == out.capacity) {
      // A whole buffer's worth goes on from where the decoder left it: the
      // same pieces as through the buffer, without copying them first.
      HandOn(state, bytes, take);
    } else {
      memcpy(out.buffer + out.fill, bytes, take);
      out.fill += take;
      if (out.fill == out.capacity) FlushOutput(state);
    }
    bytes += take;
    count -= take;
  }
  return out.error != kOutputOk || state->cancelFlag;
}

static int Resize(uint8_t **buffer, uint8_t **block, uint32_t *allocated, uint32_t size) {
  if (*buffer && *buffer == *block && *allocated == size) return 0;
  if (*buffer) GlobalFree(*buffer);
  *buffer = static_cast<uint8_t *>(GlobalAlloc(GMEM_FIXED, size));
  *block = *buffer;
  *allocated = *buffer ? size : 0;
  return *buffer ? 0 : 5;
}

int MemberBuffersPrepare(UnzipState *state) {
  MemberIo &io = state->io;
  if (Resize(&state->inputBuffer, &io.inputBlock, &io.inputAllocated, state->inputBufferSize + kInputHoldBackMax) ||
      Resize(&state->outputBuffer, &io.outputBlock, &io.outputAllocated, state->outputBufferSize))
    return 5;
  io.input.buffer = state->inputBuffer;
  io.input.capacity = io.inputAllocated;
  io.output.buffer = state->outputBuffer;
  io.output.capacity = io.outputAllocated;
  return 0;
}
