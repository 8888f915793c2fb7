#include "ZipReport.h"

#include <stdio.h>

#include "../ZipState.h"
#include "ZipLog.h"
#include "ZipMessages.h"

void ZipReportError(int code, const char *detail, int quiet) {
  ZipState *state = ZipCurrentState();
  if (!state) return;
  if (state->errorReports++ > 0) return;
  state->result = code;
  if (code == 0) return;
  const char *resultText = ZipMessageText(code + ZIP_RESULT_TEXT_BASE, 1);
  if (detail && *detail)
    snprintf(state->errorText, sizeof state->errorText, "%s (%.*s)\n", resultText, 2038, detail);
  else
    snprintf(state->errorText, sizeof state->errorText, "%s\n", resultText);
  ZipDiagLogLine(state->errorText);
  if (!quiet) ZipMessageBox(ZIP_BOX_ERROR, MB_OK, code, 0, state->errorText);
}
