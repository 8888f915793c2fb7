#include "ZipMain.h"
#include "ZipReport.h"

int ZipMain(ZIPCMDSTRUCT *record, ZipState *state) {
  ZipReportError(17, "archive files", !state->promptsAllowed);
  return 17;
}
