#include <stdio.h>
#include <string.h>

#include "../../common/MessageTable.h"
#include "../ZipState.h"
#include "ZipMessages.h"
#include "ZipProgress.h"
#include "ZipReport.h"

namespace {

// Title and text ids by type; text 0 takes the text given.
struct BoxKind {
  int type;
  int title;
  int text;
};

const BoxKind kBoxKinds[] = {
    {ZIP_BOX_DISK_PROMPT, 106, 513},      {ZIP_BOX_DISK_OF_PROMPT, 106, 514},
    {ZIP_BOX_OPEN_ERROR, 107, 600},       {ZIP_BOX_READ_ERROR, 107, 601},
    {ZIP_BOX_WRITE_ERROR, 107, 602},      {ZIP_BOX_NOT_REMOVABLE, 107, 518},
    {ZIP_BOX_SAME_VOLUME, 107, 519},      {ZIP_BOX_WIPE_FAILED, 107, 515},
    {ZIP_BOX_INVALID_FIRST_DISK, 104, 516}, {ZIP_BOX_ERROR, 107, 0},
    {ZIP_BOX_WARNING, 105, 0},            {ZIP_BOX_FILE_READY, 109, 0},
    {ZIP_BOX_SKIPPING, 110, 0},
};

const BoxKind kOtherBox = {-1, 107, 0};

const BoxKind &BoxKindOf(int type) {
  for (const BoxKind &kind : kBoxKinds)
    if (kind.type == type) return kind;
  return kOtherBox;
}

// Which answers each button style (MB_OK ... MB_RETRYCANCEL) can give.
bool AnswerFitsButtons(int answer, UINT style) {
  static const unsigned kAnswersOfStyle[] = {
      1u << IDOK,
      (1u << IDOK) | (1u << IDCANCEL),
      (1u << IDABORT) | (1u << IDRETRY) | (1u << IDIGNORE),
      (1u << IDYES) | (1u << IDNO) | (1u << IDCANCEL),
      (1u << IDYES) | (1u << IDNO),
      (1u << IDRETRY) | (1u << IDCANCEL),
  };
  UINT buttons = style & 0xF;
  if (answer < IDOK || answer > IDNO || buttons >= sizeof kAnswersOfStyle / sizeof *kAnswersOfStyle)
    return false;
  return (kAnswersOfStyle[buttons] >> answer) & 1u;
}

void ComposeText(int type, int textId, int number, int secondNumber, const char *given, char *out,
                 size_t capacity) {
  if (type == ZIP_BOX_DISK_PROMPT) {
    if (number == -1) textId = 512;
    else if (secondNumber == -1) textId = 517;
  }
  if (textId == 0) {
    CopyTextCapped(out, capacity, given);
    return;
  }
  snprintf(out, capacity, ZipMessageText(textId, 1), number, secondNumber);
}

}  // namespace

int ZipMessageBox(int type, UINT style, int number, int secondNumber, const char *text) {
  ZipState *state = ZipCurrentState();
  const BoxKind &kind = BoxKindOf(type);
  char message[ZIP_MESSAGE_SIZE];
  char title[ZIP_MESSAGE_SIZE];
  ComposeText(type, kind.text, number, secondNumber, text, message, sizeof message);
  CopyTextCapped(title, sizeof title, ZipMessageText(kind.title, 0));

  bool asked = state && state->messageDisplay;
  if (asked) {
    int answer = state->messageDisplay(type, static_cast<int>(style), number, secondNumber, message, title,
                                       state->messageDisplayData);
    if (AnswerFitsButtons(answer, style)) return answer;
    if (type == ZIP_BOX_FILE_READY) return -1;
  }
  if (type == ZIP_BOX_FILE_READY) return 1;
  int answer = MessageBoxA(GetActiveWindow(), message, title, style | MB_TOPMOST | MB_SETFOREGROUND | MB_TASKMODAL);
  if (state) ZipPumpMessages(state);
  return answer;
}
