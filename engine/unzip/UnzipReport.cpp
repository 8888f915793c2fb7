#include "UnzipReport.h"

#include <cstdio>
#include <cstring>
#include "../common/UnzipMessages.h"
#include "UnzipLog.h"
#include "UnzipProgress.h"

extern HINSTANCE gUnzipInstance;

char *UnzipMessageText(uint32_t id, int slot) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return nullptr;
  slot = slot < 0 ? 0 : slot > 2 ? 2 : slot;
  char *buffer = state->messageBuffers[slot];
  const char *text = MessageTableFind(kUnzipMessages, id);
  // The buffer keeps two bytes of its room unused, as the lookups always have.
  CopyTextCapped(buffer, kUnzipMessageBufferSize - 2, text);
  if (text && state->messageDisplay) {
    state->messageSecondText[0] = '\0';
    state->messageDisplay(kUnzipMsgTextLookup, 0, static_cast<int>(id), 0, buffer, state->messageSecondText,
                          state->messageDisplayData);
  }
  return buffer;
}

void UnzipReportError(int code, const char *detail, int quiet) {
  UnzipState *state = UnzipStateOfThread();
  if (!state || state->errorReported) return;
  state->errorReported = 1;
  // Three texts of up to a buffer each, with the format's own characters.
  char line[3 * kUnzipMessageBufferSize + 16];
  const char *title = UnzipMessageText(kUmsgErrorTitle, 0);
  const char *result = UnzipMessageText(UnzipResultMessageId(code), 1);
  if (detail && detail[0])
    snprintf(line, sizeof line, "%s %s (%s)\n", title, result, detail);
  else
    snprintf(line, sizeof line, "%s %s \n", title, result);
  UnzipDiagLogLine(line);
  if (!quiet) UnzipShowMessage(kUnzipMsgErrorReport, MB_OK, code, 0, line);
}

int UnzipFail(UnzipState *state, int code, uint32_t detailId) {
  UnzipReportError(code, detailId ? UnzipMessageText(detailId, 2) : nullptr, state->command.quietFlag);
  return code;
}

// Result codes whose error report shows its text; the others show an empty box.
static bool ErrorReportShowsText(int code) {
  static const int shown[] = {0, 2, 3, 4, 5, 9, 11, 12, 25, 28, 29, 39, 40, 41, 42, 44, 45, 46, 47, 48, 49, 50};
  for (int c : shown)
    if (c == code) return true;
  return false;
}

struct MessageLayout {
  uint32_t titleId;
  uint32_t messageId;  // 0: the text given, or empty
};

static MessageLayout LayoutOf(int type, int first, int second) {
  switch (type) {
    case kUnzipMsgDiskPrompt:
      return {kUmsgRequest, first == -1 ? kUmsgFirstDisk : second == -1 ? kUmsgLastDisk : kUmsgInsertDisk};
    case kUnzipMsgDiskOfPrompt: return {kUmsgRequest, kUmsgInsertDiskOf};
    case kUnzipMsgOpenError: return {kUmsgErrorTitle, kUmsgFileOpenError};
    case kUnzipMsgReadError: return {kUmsgErrorTitle, kUmsgFileReadError};
    case kUnzipMsgWriteError: return {kUmsgErrorTitle, kUmsgFileWriteError};
    case kUnzipMsgNonRemovable: return {kUmsgErrorTitle, kUmsgNonRemovable};
    case kUnzipMsgSameVolume: return {kUmsgErrorTitle, kUmsgSameVolume};
    case kUnzipMsgOverwrite: return {kUmsgWarning, 0};
    case kUnzipMsgInvalidFirstDisk: return {kUmsgAlert, kUmsgInvalidFirstDisk};
    case kUnzipMsgWarning: return {kUmsgWarning, 0};
    default: return {kUmsgErrorTitle, 0};
  }
}

static bool TypeShowsGivenText(int type, int first) {
  if (type == kUnzipMsgOverwrite || type == kUnzipMsgQuestion || type == kUnzipMsgWarning) return true;
  return type == kUnzipMsgErrorReport && ErrorReportShowsText(first);
}

// Whether an application's answer fits the buttons of the style.
static bool AnswerFitsStyle(int answer, int style) {
  int buttons = style & 15;
  switch (answer) {
    case IDOK: return buttons == 0 || buttons == 1;
    case IDCANCEL: return buttons == 1 || buttons == 3 || buttons == 5 || buttons == 15;
    case IDABORT:
    case IDIGNORE: return buttons == 2 || buttons == 15;
    case IDRETRY: return buttons == 2 || buttons == 5;
    case IDYES:
    case IDNO: return buttons == 3 || buttons == 4 || buttons == 15;
    case 100: return buttons == 15;
    case 101: return true;
    default: return false;
  }
}

int UnzipShowMessage(int type, int style, int first, int second, const char *text) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  MessageLayout layout = LayoutOf(type, first, second);
  char title[kUnzipMessageBufferSize];
  char message[kUnzipMessageBufferSize];
  lstrcpynA(title, UnzipMessageText(layout.titleId, 0), sizeof title);
  if (layout.messageId)
    snprintf(message, sizeof message, UnzipMessageText(layout.messageId, 1), first, second);
  else
    lstrcpynA(message, TypeShowsGivenText(type, first) && text ? text : "", sizeof message);
  if (state->messageDisplay) {
    int answer = state->messageDisplay(type, style, first, second, message, title, state->messageDisplayData);
    if (AnswerFitsStyle(answer, style)) return answer;
  }
  int answer = type == kUnzipMsgOverwrite
                   ? ShowOverwriteDialog(message, title)
                   : MessageBoxA(GetActiveWindow(), message, title,
                                 static_cast<UINT>(style) | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  UnzipPumpMessages(state);
  return answer;
}

struct OverwriteDialogTexts {
  const char *question;
  const char *title;
};

static INT_PTR CALLBACK OverwriteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  static const struct {
    int control;
    int answer;
  } buttons[] = {{1001, IDYES}, {1002, IDNO}, {1003, IDCANCEL}, {1004, 100}, {1005, 101}};
  if (message == WM_INITDIALOG) {
    auto *texts = reinterpret_cast<const OverwriteDialogTexts *>(lParam);
    SetDlgItemTextA(dialog, 1000, texts->question);
    SetWindowTextA(dialog, texts->title);
    SetForegroundWindow(dialog);
    return TRUE;
  }
  if (message == WM_COMMAND)
    for (const auto &button : buttons)
      if (LOWORD(wParam) == button.control) {
        EndDialog(dialog, button.answer);
        return TRUE;
      }
  return FALSE;
}

int ShowOverwriteDialog(const char *question, const char *title) {
  OverwriteDialogTexts texts = {question, title};
  return static_cast<int>(DialogBoxParamA(gUnzipInstance, MAKEINTRESOURCEA(101), GetActiveWindow(),
                                          OverwriteDialogProc, reinterpret_cast<LPARAM>(&texts)));
}
