// The start page's arithmetic: what a click on a link does, judged from the
// link's target, and where the recent projects and the help links go.
#pragma once
#include <string>
#include <vector>

enum class StartPageAction { kOpenProject, kNewProject, kResetWarnings, kAbout, kHelpPage, kOpenRecent, kNone };

StartPageAction ActionOfLinkTarget(const std::string& target);

// The tops of the rows below "Recent Brennicor Projects:": one row per
// recent file that still exists, then the help section.
struct StartPageRows {
  std::vector<int> recentBullets;  // bullet tops; each link sits 3 pixels lower
  int usefulLinksHeading = 0;
  int helpBullets[3] = {};
  int helpLinks[3] = {};
};

StartPageRows LayOutStartPage(int existingRecentFiles);
