// How the zip side tells the application: its message box (through
// MessageDisplayProc when the application answers) and the error report that
// every failing command ends with.
#pragma once

#include <windows.h>

// Message box types.
enum {
  ZIP_BOX_DISK_PROMPT = 0,
  ZIP_BOX_DISK_OF_PROMPT = 1,
  ZIP_BOX_OPEN_ERROR = 2,
  ZIP_BOX_READ_ERROR = 3,
  ZIP_BOX_WRITE_ERROR = 4,
  ZIP_BOX_NOT_REMOVABLE = 5,
  ZIP_BOX_SAME_VOLUME = 6,
  ZIP_BOX_WIPE_FAILED = 7,
  ZIP_BOX_INVALID_FIRST_DISK = 10,
  ZIP_BOX_ERROR = 11,
  ZIP_BOX_WARNING = 12,
  ZIP_BOX_FILE_READY = 14,
  ZIP_BOX_SKIPPING = 16,
};

// Shows a prompt or message of the given type and button style; the
// application's MessageDisplayProc answers first when its answer fits the
// buttons. Type 14 never shows a box.
int ZipMessageBox(int type, UINT style, int number, int secondNumber, const char *text);

// The first error of a command: stores the code as the result, writes the
// result text (and the detail in brackets) to the diagnostic log, and unless
// quiet shows it. Later errors of the same command only count.
void ZipReportError(int code, const char *detail, int quiet);
