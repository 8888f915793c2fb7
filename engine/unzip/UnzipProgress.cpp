#include "UnzipProgress.h"

#include <cstdio>
#include "../common/ProgressPercent.h"

static bool InMemoryToMemoryOrStream(const UnzipState *state) {
  return state->command.Function == UNZIP_STREAM_ENTRY || state->command.Function == kUnzipMemoryToMemory;
}

int UnzipStartProgressProgram(int cancelButton) {
  UnzipState *state = UnzipStateOfThread();
  if (!state || InMemoryToMemoryOrStream(state)) return 0;
  char line[2048];
  snprintf(line, sizeof line, "qlprog32 /%c /u /T=%s", cancelButton ? 'c' : 'n', state->progressTitle);
  return ProgressProgramStart(&state->progress, line, cancelButton);
}

int UnzipCloseProgressWindow() {
  UnzipState *state = UnzipStateOfThread();
  return state ? ProgressWindowClose(&state->progress) : 0;
}

void UnzipPumpMessages(UnzipState *state) {
  if (!state->noMessagePump) PumpThreadMessages();
}

// A nonzero answer cancels from version 200 on.
static bool AnswerCancels(const UnzipState *state, int answer) { return answer && state->recordVersion >= 200; }

void UnzipMinorStatus(uint64_t done) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return;
  if (!InMemoryToMemoryOrStream(state)) {
    uint64_t total = state->expectedTotal[0] + state->expectedTotal[1];
    if (done > total && done - total > 1000) {
      state->cancelFlag = 1;
      state->overrun = 1;
    }
    // With neither a window nor a callback there is nothing to report,
    // and no pump either (under Wine each pump is a round trip to the
    // server, which costs more than extracting a small member).
    StatusProc callback = state->command.lpMinorStatus;
    if (!state->progress.open && !callback) return;
    int percent = UnzipItemPercent(total, done);
    int answer = state->progress.open
                     ? static_cast<int>(ProgressWindowSend(&state->progress, kProgressItem, percent, state->itemText))
                     : callback(state->itemText, percent, state->command.lpMinorUserData);
    if (AnswerCancels(state, answer) && state->statusMayCancel) state->cancelFlag = 1;
  }
  UnzipPumpMessages(state);
}

int UnzipMajorStatus(const char *text, uint64_t total, uint64_t done) {
  UnzipState *state = UnzipStateOfThread();
  if (!state) return 0;
  if (state->cancelFlag) return 1;
  StatusProc callback = state->command.lpMajorStatus;
  if (!state->progress.open && !callback) return 0;
  state->majorPercent = OverallPercent(total, done);
  int answer = 0;
  if (state->progress.open) {
    LRESULT reply = ProgressWindowSend(&state->progress, kProgressOverall, state->majorPercent, text);
    if (AnswerCancels(state, reply != 0)) {
      state->cancelFlag = 1;
      answer = 1;
    }
  } else {
    int reply = callback(text, state->majorPercent, state->command.lpMajorUserData);
    answer = AnswerCancels(state, reply) ? 1 : 0;
  }
  UnzipPumpMessages(state);
  return answer;
}
