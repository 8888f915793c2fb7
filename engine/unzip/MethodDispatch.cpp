#include "MethodDispatch.h"

#include <cstring>
#include "../common/WinZipAes.h"
#include "UnzipInput.h"
#include "UnzipOutput.h"
#include "UnzipProgress.h"

static ptrdiff_t FillFromInput(void *context, const uint8_t **bytes) {
  return InputRun(static_cast<UnzipState *>(context), bytes);
}

static int WriteToOutput(void *context, const uint8_t *bytes, size_t count) {
  return OutputWrite(static_cast<UnzipState *>(context), bytes, count);
}

static DecodeResult CopyStored(UnzipState *state) {
  const uint8_t *run;
  ptrdiff_t got;
  while ((got = InputRun(state, &run)) > 0)
    if (OutputWrite(state, run, static_cast<size_t>(got))) return kDecodeStopped;
  return got < 0 ? kDecodeStopped : kDecodeDone;
}

enum : int { kNoDecoder = -1 };

static int RunDecoder(UnzipState *state, uint16_t method) {
  DecoderState &decoder = state->decoder;
  switch (method) {
    case 0: return CopyStored(state);
    case 1: return UnshrinkMember(decoder);
    case 2:
    case 3:
    case 4:
    case 5: return UnreduceMember(decoder, method - 1);
    case 6: return ExplodeMember(decoder);
    case 8: return InflateMember(decoder);
    case 9: return Inflate64Member(decoder);
    default: return kNoDecoder;
  }
}

static bool WritesToWindow(const UnzipState *state) {
  int sink = state->io.output.sink;
  return sink == kSinkMemory || sink == kSinkWindowCallback;
}

// The code of a member whose output stopped or failed; 0 when it stopped
// only because the caller's memory window is full.
static int OutputOutcome(UnzipState *state) {
  const MemberOutput &out = state->io.output;
  if (out.sizeExceeded) return 3;
  bool windowFull = WritesToWindow(state) && out.error == kOutputFull;
  if (state->cancelFlag && !windowFull) return 48;
  if (windowFull) state->cancelFlag = 0;
  if (out.error == kOutputFailed) return 2;
  if (out.error == kOutputFull) return windowFull && out.placed == state->memBlockSize ? 0 : 50;
  return 0;
}

// WinZip AES: the stored authentication code after the data, and the one
// computed over it. 0, or 2 when the code is missing.
static int TakeAuthCodes(UnzipState *state) {
  UnzipCipherState &cipher = state->cipher;
  if (!InputTakeTrailer(state, cipher.storedAuthCode, kWinZipAesAuthCodeLength)) return 2;
  WinZipAesAuthCode(cipher.authCode, &cipher.aes);
  return 0;
}

// Whether the whole member went through, so its CRC or code can be checked.
static bool Checkable(const UnzipState *state) {
  if (state->io.input.unknownLength) return false;
  if (WritesToWindow(state))
    return state->startingOffset == 0 && state->io.output.error == kOutputOk;
  return true;
}

static int CheckMember(UnzipState *state) {
  const MemberOutput &out = state->io.output;
  if (WritesToWindow(state) && state->startingOffset > 0 && out.placed == 0 && out.handedOn <= state->startingOffset)
    return 2;  // the starting offset lies past the member's end
  if (state->io.input.decrypt && state->cipher.kind == kEncryptWinZipAes &&
      memcmp(state->cipher.authCode, state->cipher.storedAuthCode, kWinZipAesAuthCodeLength) != 0)
    return 39;
  if (!Checkable(state)) return 0;
  if (out.handedOn != out.limit) return 39;
  if (state->io.input.decrypt && state->cipher.kind == kEncryptWinZipAes) return 0;
  return OutputCrc(state) == ReadLe32(state->directory.member.central + kChCrc) ? 0 : 39;
}

int DecompressMember(UnzipState *state, uint16_t method) {
  DecoderState &decoder = state->decoder;
  decoder.io.fillInput = FillFromInput;
  decoder.io.writeOutput = WriteToOutput;
  decoder.io.context = state;
  decoder.uncompressedSize = state->io.output.limit;
  decoder.compressedSize = state->io.input.unknownLength ? UINT64_MAX : state->directory.member.values.compressedSize;
  decoder.generalFlags = ReadLe16(state->localHeader + kLhFlags);
  UnzipMinorStatus(0);

  int decoded = RunDecoder(state, method);
  if (decoded == kNoDecoder) return 42;
  if (decoded == kDecodeNoMemory) return 5;
  int result = decoded == kDecodeDone || decoded == kDecodeStopped ? 0 : 2;
  bool aes = state->io.input.decrypt && state->cipher.kind == kEncryptWinZipAes;
  if (result == 0 && decoded == kDecodeDone && aes) result = TakeAuthCodes(state);
  // The last block's padding is checked even when the decoder stopped before it.
  if (decoded == kDecodeDone && state->io.input.decrypt && state->cipher.kind == kEncryptStrong) InputDrain(state);
  int outcome = OutputOutcome(state);
  if (outcome) return outcome;
  if (decoded == kDecodeStopped && !WritesToWindow(state)) return 48;
  if (result == 0 && state->io.input.failed) result = 2;
  if (result) return result;
  FlushOutput(state);
  if ((outcome = OutputOutcome(state)) != 0) return outcome;
  return CheckMember(state);
}
