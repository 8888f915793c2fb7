#include "UnzipTestSupport.h"

#include <gtest/gtest.h>
#include <map>

namespace {
std::map<int, std::string> &Rewrites() {
  static std::map<int, std::string> rewrites;
  return rewrites;
}
}  // namespace

std::vector<RecordedMessage> &RecordedMessages() {
  static std::vector<RecordedMessage> messages;
  return messages;
}

std::vector<std::string> RecordedErrors() {
  std::vector<std::string> errors;
  for (const RecordedMessage &m : RecordedMessages())
    if (m.type == 11) errors.push_back(m.text);
  return errors;
}

int CALLBACK RecordMessage(int type, int style, int first, int second, char *text, char *title, void *data) {
  if (type == 13) {
    auto found = Rewrites().find(first);
    if (found != Rewrites().end()) lstrcpynA(text, found->second.c_str(), 2047);
    return -1;
  }
  RecordedMessages().push_back({type, first, text ? text : ""});
  if (type == 15) return 0;  // split parts: the engine finds them by their names
  return (style & 15) == MB_OK ? IDOK : IDCANCEL;
}

void RewriteMessage(int id, const std::string &text) { Rewrites()[id] = text; }
void ClearRewrites() { Rewrites().clear(); }

UNZIPCMDSTRUCT Command(int function, const std::string &archive) {
  UNZIPCMDSTRUCT command = {};
  command.structSize = sizeof command;
  command.Function = function;
  command.lpszZIPFile = archive.c_str();
  command.index = -1;
  command.lpMessageDisplay = RecordMessage;
  return command;
}

std::string WorkPath(const std::string &name) { return std::string(BRENNICOR_TEST_WORK) + "/" + name; }

std::string ListingArchive(const std::string &name) { return WorkPath("unzip-listing/" + name); }
