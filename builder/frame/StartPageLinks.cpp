#include "StartPageLinks.h"

namespace {

constexpr int kRecentHeadingTop = 230;
constexpr int kRowHeight = 25;

struct ActionText {
  const char* text;
  StartPageAction action;
};
// The four action links' targets are their own texts.
const ActionText kActionTexts[] = {
    {"Open Brennicor Project...", StartPageAction::kOpenProject},
    {"New Brennicor Project...", StartPageAction::kNewProject},
    {"Reset Warning Messages", StartPageAction::kResetWarnings},
    {"About Korvane Brennicor v3.0", StartPageAction::kAbout},
};

// From the last dot, at most four characters.
std::string ShortExtension(const std::string& target) {
  const size_t dot = target.rfind('.');
  return dot == std::string::npos ? std::string() : target.substr(dot, 4);
}

bool NamesHelp(const std::string& extension) {
  return extension.find("htm") != std::string::npos || extension.find("chm") != std::string::npos;
}

}  // namespace

StartPageAction ActionOfLinkTarget(const std::string& target) {
  for (const ActionText& entry : kActionTexts)
    if (target.find(entry.text) != std::string::npos) return entry.action;
  const std::string extension = ShortExtension(target);
  if (extension.size() < 2) return StartPageAction::kNone;
  return NamesHelp(extension) ? StartPageAction::kHelpPage : StartPageAction::kOpenRecent;
}

StartPageRows LayOutStartPage(int existingRecentFiles) {
  StartPageRows rows;
  int y = kRecentHeadingTop;
  for (int i = 0; i < existingRecentFiles; ++i) {
    y += kRowHeight;
    rows.recentBullets.push_back(y);
  }
  rows.usefulLinksHeading = y + 45;
  for (int i = 0; i < 3; ++i) {
    rows.helpBullets[i] = y + 70 + i * kRowHeight;
    rows.helpLinks[i] = y + 73 + i * kRowHeight;
  }
  return rows;
}
