// What start-up sets and the rest of the builder reads: the main window (set
// once the command line has been processed), the main frame (set by the
// frame while it is created), the one project document (set by its
// constructor), the frame's side of the project and the product title the
// about box names. Prompts and callbacks do nothing while the main window is
// null, so nothing runs before start-up has finished.
#pragma once
#include <string>

class CWnd;
class CMainFrame;
class CKorvaneBrennicorDoc;
class ProjectHost;

struct BuilderGlobals {
  CWnd* mainWindow = nullptr;
  CMainFrame* mainFrame = nullptr;
  CKorvaneBrennicorDoc* document = nullptr;
  // The frame's project record and pages (set by the frame while it lives).
  ProjectHost* projectHost = nullptr;
  // The title the about box last showed.
  std::string productTitle;
  // A build pumps messages while it runs: the commands that would replace,
  // save or free the project record it reads wait until it has ended.
  bool buildRunning = false;
};

BuilderGlobals& Builder();

// Marks a build as running for as long as it lives.
class BuildRunningScope {
 public:
  BuildRunningScope() { Builder().buildRunning = true; }
  ~BuildRunningScope() { Builder().buildRunning = false; }
  BuildRunningScope(const BuildRunningScope&) = delete;
  BuildRunningScope& operator=(const BuildRunningScope&) = delete;
};
