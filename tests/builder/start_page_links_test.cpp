#include <gtest/gtest.h>

#include "frame/StartPageLinks.h"

TEST(StartPageLinks, ATargetNamesItsActionByTextOrByItsShortExtension) {
  struct Case {
    const char* target;
    StartPageAction action;
  } cases[] = {
      {"Open Brennicor Project...", StartPageAction::kOpenProject},
      {"New Brennicor Project...", StartPageAction::kNewProject},
      {"Reset Warning Messages", StartPageAction::kResetWarnings},
      {"About Korvane Brennicor v3.0", StartPageAction::kAbout},
      {"faq.html", StartPageAction::kHelpPage},  // ".htm" of ".html" counts
      {"index.htm", StartPageAction::kHelpPage},
      {"C:\\help\\guide.chm", StartPageAction::kHelpPage},
      {"C:\\projects\\setup.ssf", StartPageAction::kOpenRecent},
      {"C:\\projects.v2\\setup", StartPageAction::kOpenRecent},  // the last dot decides
      {"C:\\projects\\setup.", StartPageAction::kNone},          // a lone dot is no extension
      {"C:\\projects\\setup", StartPageAction::kNone},
  };
  for (const Case& c : cases) EXPECT_EQ(ActionOfLinkTarget(c.target), c.action) << c.target;
}
