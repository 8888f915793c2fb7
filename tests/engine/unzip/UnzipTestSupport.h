// What the unzip engine tests share: the engine set up once per program, a
// message callback that records what the engine reports, and command records.
#pragma once
#include <string>
#include <vector>
#include "UnzipApi.h"

struct RecordedMessage {
  int type;
  int first;
  std::string text;
};

// Everything but text lookups (type 13) the engine showed since the last clear.
std::vector<RecordedMessage> &RecordedMessages();
// The error reports (type 11) among them.
std::vector<std::string> RecordedErrors();

// Records the message and answers OK for OK-only boxes, Cancel otherwise, so
// no box is ever shown; split parts are left to the engine to find. Lookups of ids in the rewrite table are rewritten.
int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *data);
void RewriteMessage(int id, const std::string &text);
void ClearRewrites();

// A version-600 record for the function, reporting to RecordMessage.
UNZIPCMDSTRUCT Command(int function, const std::string &archive);

// A file in the fixture archives' folder, as the engine opens it.
std::string ListingArchive(const std::string &name);
std::string WorkPath(const std::string &name);
