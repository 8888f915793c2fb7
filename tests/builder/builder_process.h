// Runs the real builder program as a user starts it: a copy in a folder of
// its own (its tips file lives beside it), from a profile the test sets up,
// and finds the windows it shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// HKCU\Software\Korvane\Korvane Brennicor v3.0, the builder's whole profile.
constexpr char kBuilderProfileKey[] = "Software\\Korvane\\Korvane Brennicor v3.0";

void ClearBuilderProfile();
void SetProfileInt(const char* section, const char* name, DWORD value);
void SetProfileString(const char* section, const char* name, const std::string& value);
// False when the value is missing or not a number.
bool ProfileInt(const char* section, const char* name, DWORD* value);
// The value's bytes, or an empty text when it is missing.
std::string ProfileBinary(const char* section, const char* name);
// Starts without the tip of the day.
void SkipTipOfTheDay();

class BuilderProcess {
 public:
  // A fresh folder under the test scratch folder holding a copy of the program.
  explicit BuilderProcess(const std::string& folderName);
  ~BuilderProcess();  // ends a program still running

  const std::string& folder() const { return folder_; }
  std::string program() const { return folder_ + "\\BrennicorBuilder.exe"; }
  bool Start(const std::string& arguments = "");
  // A top-level window of the program that matches, within ms; null otherwise.
  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD ms = 15000) const;
  HWND WaitForCaption(const std::string& caption, DWORD ms = 15000) const;
  // The main frame once it is shown.
  HWND WaitForFrame(DWORD ms = 15000) const;
  // A message box or other dialog of the program other than except.
  HWND WaitForDialog(HWND except = nullptr, DWORD ms = 15000) const;
  // Asks the frame to close, answers No when asked to save the project, and
  // waits for the program's end: its exit code, or STILL_ACTIVE when it did
  // not end.
  DWORD Close(HWND frame, DWORD ms = 15000);
  DWORD WaitForExit(DWORD ms);
  // Waits until the program first waits for input with none queued: its
  // start-up is over, and keys and clicks reach what it shows.
  bool WaitUntilIdle(DWORD ms = 15000) const;

 private:
  std::string folder_;
  PROCESS_INFORMATION process_ = {};
};

// Dates a file's last write long ago, so that a save shows in its time.
void MakeOld(const std::string& path);
ULONGLONG WriteTime(const std::string& path);
