#include "ZipProgress.h"

#include <stdio.h>

#include "../../common/MessageTable.h"
#include "../../common/ProgressPercent.h"
#include "../ZipCommand.h"
#include "../ZipState.h"

namespace {

bool CallerMayCancel(const ZipState *state) { return state->recordVersion >= 200; }

bool HasListener(const ZipState *state, StatusProc callback) { return state->progress.open || callback; }

// The overall report as it stands in the state; the answer as the cancel
// rules of the overall report take it.
int SendOverall(ZipState *state) {
  if (state->progress.open) {
    LRESULT reply = ProgressWindowSend(&state->progress, kProgressOverall, state->majorPercent, state->majorText);
    if (reply && CallerMayCancel(state)) {
      state->cancel = 1;
      return 1;
    }
    return 0;
  }
  int answer = state->majorStatus(state->majorText, state->majorPercent, state->majorUserData);
  return CallerMayCancel(state) ? answer : 0;
}

}  // namespace

void ZipPumpMessages(ZipState *state) {
  if (!(state->subOptions & ZSO_NO_MESSAGE_PUMP)) PumpThreadMessages();
}

void ZipMinorStatus(const char *text, uint64_t total, uint64_t done) {
  ZipState *state = ZipCurrentState();
  if (!state || !HasListener(state, state->minorStatus)) return;
  int percent = ItemPercent(total, done);
  state->minorPercent = percent;
  int answer = state->progress.open
                   ? static_cast<int>(ProgressWindowSend(&state->progress, kProgressItem, percent, text))
                   : state->minorStatus(text, percent, state->minorUserData);
  if (answer && CallerMayCancel(state) && (state->subOptions & ZSO_STATUS_CANCELS)) state->cancel = 1;
  CopyTextCapped(state->minorText, sizeof state->minorText, text);
  ZipPumpMessages(state);
}

int ZipMajorStatus(const char *text, uint64_t total, uint64_t done) {
  ZipState *state = ZipCurrentState();
  if (!state || !HasListener(state, state->majorStatus)) return 0;
  state->majorPercent = OverallPercent(total, done);
  CopyTextCapped(state->majorText, sizeof state->majorText, text);
  int answer = SendOverall(state);
  ZipPumpMessages(state);
  return answer;
}

int ZipCheckCancel(ZipState *state) {
  if (state->cancel) return state->cancel;
  if (HasListener(state, state->majorStatus)) {
    int answer = SendOverall(state);
    if (!state->progress.open) state->cancel = answer;
  }
  ZipPumpMessages(state);
  return state->cancel;
}

int ZipStartProgressProgram(int cancelButton) {
  ZipState *state = ZipCurrentState();
  if (!state) return 0;
  char commandLine[256];
  snprintf(commandLine, sizeof commandLine, "qlprog32.exe /%c /z /T=%s", cancelButton ? 'c' : 'n',
           state->progressTitle);
  return ProgressProgramStart(&state->progress, commandLine, cancelButton);
}

int ZipCloseProgressWindow(void) {
  ZipState *state = ZipCurrentState();
  return state ? ProgressWindowClose(&state->progress) : 0;
}
