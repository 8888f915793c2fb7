// The three pointers start-up sets and the rest of the builder reads: the
// main window (set once the command line has been processed), the main frame
// (set by the frame while it is created) and the one project document (set
// by its constructor). Prompts and callbacks do nothing while the main
// window is null, so nothing can run before start-up has finished.
#pragma once

class CWnd;
class CMainFrame;
class CKorvaneBrennicorDoc;

struct BuilderGlobals {
  CWnd* mainWindow = nullptr;
  CMainFrame* mainFrame = nullptr;
  CKorvaneBrennicorDoc* document = nullptr;
};

BuilderGlobals& Builder();
