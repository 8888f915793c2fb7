#include "ZipPending.h"

#include "ZipReport.h"

int ZipNotSupported(ZipState *state, const char *detail) {
  ZipReportError(17, detail, !state->promptsAllowed);
  return 17;
}

int ZipMain(ZIPCMDSTRUCT *record, ZipState *state) { return ZipNotSupported(state, "archive files"); }

void ZipFreeEntryList(ZipState *state) { state->entryListKept = 0; }

void ZipFreePatterns(ZipState *state) { state->patternCount = 0; }

int ZipFinish(ZipState *state, int code) {
  state->result = code;
  return code;
}
