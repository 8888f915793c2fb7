// CXTDockState: a frame's bar layout kept through the settings store, so it
// lands in the application's registry key or, in INI mode, in its INI file.
// One summary section "<profile>-Summary" and one section "<profile>-Bar<n>"
// per bar record that says more than the defaults; every value an integer.
// What is read back is untrusted: counts are bounded by the values present.
#pragma once

#include "classlib/docking/barinfo.h"

class CXTSettingsStore;

class CXTDockState : public CDockState {
  DECLARE_DYNCREATE(CXTDockState)
 public:
  void SaveState(LPCSTR lpszProfileName);
  void LoadState(LPCSTR lpszProfileName);

 private:
  // FALSE (and the section left empty) when the record says nothing beyond the defaults.
  static BOOL SaveBarInfo(CXTSettingsStore& store, LPCSTR lpszSection, const CControlBarInfo& info);
  void LoadBarInfo(CXTSettingsStore& store, LPCSTR lpszSection, CControlBarInfo& info) const;
  CPoint ScaleToScreen(CPoint point) const;
};
