// Texts, error reports and messages of the unzip side.
#pragma once
#include "UnzipState.h"

// The text of a message id in one of three rotating buffers (slot clamped to
// 0..2); the application's MessageDisplayProc may rewrite it (code 13).
// Empty for an unknown id; null without a state block.
char *UnzipMessageText(uint32_t id, int slot);

// The error report of a failing command: the diagnostic log always, a message
// unless quiet. Only the first report of a command is made.
void UnzipReportError(int code, const char *detail, int quiet);
// Reports code with the text of detailId as detail (0: none) and returns code.
int UnzipFail(UnzipState *state, int code, uint32_t detailId);

// Message types of UnzipShowMessage.
enum UnzipMessageType : int {
  kUnzipMsgDiskPrompt = 0,
  kUnzipMsgDiskOfPrompt = 1,
  kUnzipMsgOpenError = 2,
  kUnzipMsgReadError = 3,
  kUnzipMsgWriteError = 4,
  kUnzipMsgNonRemovable = 5,
  kUnzipMsgSameVolume = 6,
  kUnzipMsgOverwrite = 8,
  kUnzipMsgQuestion = 9,
  kUnzipMsgInvalidFirstDisk = 10,
  kUnzipMsgErrorReport = 11,
  kUnzipMsgWarning = 12,
  kUnzipMsgTextLookup = 13,
  kUnzipMsgSplitPart = 15,
};

// Shows a prompt or message through the application's MessageDisplayProc when
// it gives an answer that fits the buttons, else itself; returns the answer.
int UnzipShowMessage(int type, int style, int first, int second, const char *text);

// Modal dialog on template 101 of the engine's module; returns 6, 7, 2, 100 or 101.
int ShowOverwriteDialog(const char *question, const char *title);
