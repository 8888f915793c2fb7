#include "ZipMemberEncoder.h"

#include <string.h>

#include "../../common/CipherState.h"
#include "../messages/ZipLog.h"
#include "../messages/ZipMessages.h"
#include "../messages/ZipReport.h"
#include "../ZipEntry.h"
#include "../ZipState.h"
#include "ZipOutput.h"

namespace {

enum : uint32_t { kCipherCopy = 4096 };

ZipState *StateOf(void *context) { return static_cast<ZipState *>(context); }

uint32_t Read(void *context, uint8_t *buffer, uint32_t count) {
  ZipState *state = StateOf(context);
  return state->readInput(state, buffer, count);
}

bool WriteAll(ZipState *state, uint8_t *bytes, uint32_t count) {
  return ZipEncryptWrite(state, bytes, count, state->writer.memberOutput) == count;
}

// Stream ciphers work in place, and a stored block comes straight from the
// match finder's window, so they get a copy.
bool WriteCopies(ZipState *state, const uint8_t *data, uint32_t count) {
  uint8_t copy[kCipherCopy];
  for (uint32_t done = 0; done < count;) {
    uint32_t piece = count - done < kCipherCopy ? count - done : kCipherCopy;
    memcpy(copy, data + done, piece);
    if (!WriteAll(state, copy, piece)) return false;
    done += piece;
  }
  return true;
}

int Write(void *context, const uint8_t *data, uint32_t count) {
  ZipState *state = StateOf(context);
  bool streamCipher = state->password && !state->writer.encryptionSuspended && state->cipher.kind != kEncryptStrong;
  bool written = streamCipher ? WriteCopies(state, data, count) : WriteAll(state, const_cast<uint8_t *>(data), count);
  if (written) return 0;
  return state->result ? state->result : ZipWriteFailureCode(state, 14);
}

int Pending(void *context) {
  ZipState *state = StateOf(context);
  return state->cancel ? 9 : state->result;
}

void Fail(void *context, int result, int messageId) {
  ZipState *state = StateOf(context);
  state->result = result;
  ZipReportError(result, messageId ? ZipMessageText(messageId, 2) : nullptr, !state->promptsAllowed);
}

void Warn(void *, int messageId) { ZipDiagLogLine(ZipMessageText(messageId, 2)); }

bool Deflate64(const ZipEntry *entry) { return entry->method == 9; }
// The encoder may have turned the member into a stored one by now.
bool RunsDeflate64(const ZipState *state) { return state->encoder.format == EncoderFormat::Deflate64; }

}  // namespace

int ZipStartEncoder(ZipState *state, ZipEntry *entry, DeflateOutputTraits traits, uint32_t outputCapacity,
                    uint16_t *flags) {
  DeflateEncoderState *encoder = &state->encoder;
  encoder->io = DeflateIo{&Read, &Write, &Pending, &Fail, &Warn, state};
  encoder->traits = traits;
  encoder->result = 0;
  encoder->messageId = 0;
  encoder->compressedBytes = 0;
  int result = DeflateOutputInit(encoder, outputCapacity);
  if (result) return result;
  result = Deflate64(entry) ? Deflate64TreesInit(encoder, &entry->internalAttributes, &entry->method)
                            : ct_init(encoder, &entry->internalAttributes, &entry->method);
  if (result) return result;
  return Deflate64(entry) ? Deflate64Init(encoder, state->level, flags) : DeflateInit(encoder, state->level, flags);
}

uint64_t ZipRunEncoder(ZipState *state) {
  DeflateEncoderState *encoder = &state->encoder;
  uint64_t length = RunsDeflate64(state) ? Deflate64Compress(encoder) : DeflateCompress(encoder);
  if (encoder->result && !state->result) state->result = encoder->result;
  return length;
}

void ZipStopEncoder(ZipState *state) {
  if (RunsDeflate64(state)) Deflate64FreeBuffers(&state->encoder);
  else DeflateFreeBuffers(&state->encoder);
  DeflateOutputRelease(&state->encoder);
}
