// CXTShortcutManager: the process's one keeper of a frame's keyboard
// shortcuts. It holds the working list of accelerator records (what the
// frame's table is built from), a copy of the frame's own list as it was
// before any change, and the frame's commands and menu categories read from
// its menu, which the Keyboard page of the customise sheet shows. The working
// list is kept in the settings store as "Settings"/"Accelerators", 6 bytes a
// record (see ShortcutRecords.cpp).
//
// Inactive until Activate names its frame; while inactive the frame shows no
// shortcut texts in its menus and keys go the class library's way. The frame
// helper clears the save-on-destruction flag when a toolkit frame is made and
// saves the list itself when that frame goes.
//
// Files: ShortcutManager.cpp (lists, store, the frame's table),
// ShortcutNames.cpp (key names and shortcut texts), ShortcutCommands.cpp
// (commands and categories from the menu).
#pragma once

#include <vector>

#include "classlib/classlib.h"

class CXTShortcutManager {
 public:
  // A category: a popup menu that holds commands, named by its path of menu texts.
  struct Category {
    CString name;
    HMENU hMenu;
  };
  // A command of the menu with its path of cleaned menu texts.
  struct Command {
    UINT nID;
    CString text;
  };

  CXTShortcutManager();
  virtual ~CXTShortcutManager();
  CXTShortcutManager(const CXTShortcutManager&) = delete;
  CXTShortcutManager& operator=(const CXTShortcutManager&) = delete;

  // Replaces the working list by the stored one; FALSE (and an empty list) when none is stored.
  virtual BOOL Load();
  virtual BOOL Save(const ACCEL* pAccel, int nCount);

  // Takes over pFrame's shortcuts: its table becomes the default list, the
  // stored list (when there is one) becomes its table, and the manager is active.
  BOOL Activate(CFrameWnd* pFrame);
  BOOL IsActive() const { return m_active; }
  CFrameWnd* GetFrame() const { return m_pFrame; }
  // The frame is going: the manager keeps no pointer to it.
  void ForgetFrame(CFrameWnd* pFrame);
  void SetSaveOnDestruction(BOOL bSave) { m_saveOnDestruction = bSave; }

  // Deletes the stored list after a reset, else stores a changed one; with
  // bDeactivate the manager is inactive afterwards.
  BOOL SaveState(BOOL bDeactivate);
  // The frame's table and the working list back to the default list.
  BOOL ResetAccelerators();
  // The frame's table made again from the working list.
  BOOL RecreateAcceleratorTable();

  BOOL AddAccelerator(UINT nCmd, BYTE fVirt, WORD wKey);
  // Only the modifier bits (Shift, Ctrl, Alt) and the key are compared.
  BOOL FindAccelerator(BYTE fVirt, WORD wKey, UINT* pCmd) const;
  BOOL RemoveAccelerator(BYTE fVirt, WORD wKey);
  // TRUE for a key press whose modifiers and key are one of the shortcuts.
  BOOL IsShortcutMessage(const MSG* pMsg) const;

  static CString GetKeyName(WORD wKey);
  // "Shift+Ctrl+S": modifiers in the order Shift, Ctrl, Alt, then the key; empty for key 0.
  static CString FormatShortcut(const ACCEL& accel);
  // Appends every shortcut of the command, separated by ", ".
  void GetShortcutText(UINT nCmd, CString& text) const;
  // The shortcut of the command at or after pos; pos moves past it.
  BOOL GetNextShortcut(int& pos, UINT nCmd, CString& text, BYTE& fVirt, WORD& wKey) const;

  BOOL LookupCommand(UINT nID, CString& text) const;
  void FillCommandCombo(CComboBox* pCombo) const;
  // Reads the commands and categories of hMenu, or of the frame's menu when null.
  void BuildCommandList(HMENU hMenu = nullptr);
  static BOOL HasCommands(HMENU hMenu);

  const std::vector<ACCEL>& GetAccelerators() const { return m_accel; }
  const std::vector<ACCEL>& GetDefaultAccelerators() const { return m_defaultAccel; }
  const CList<Category>& GetCategories() const { return m_categories; }
  const CList<Command>& GetCommands() const { return m_commands; }
  BOOL GetCommandCategory(UINT nID, CString& category) const { return m_categoryMap.Lookup(nID, category); }

 private:
  BOOL InstallTable(const std::vector<ACCEL>& list);
  void ChangedByUser();
  void WalkCategories(const CString& prefix, HMENU hMenu);
  void WalkCommands(const CString& category, const CString& path, HMENU hMenu);

  CFrameWnd* m_pFrame = nullptr;
  CList<Category> m_categories;
  CList<Command> m_commands;
  CMap<UINT, UINT, CString, LPCSTR> m_categoryMap;
  std::vector<ACCEL> m_accel;
  std::vector<ACCEL> m_defaultAccel;
  BOOL m_reset = FALSE;
  BOOL m_dirty = FALSE;
  BOOL m_saveOnDestruction = TRUE;
  BOOL m_active = FALSE;
};

// The process's manager, made on first use and destroyed at exit.
CXTShortcutManager& GetShortcutManager();

// Stored form of the working list: 6 bytes a record, little-endian.
std::vector<BYTE> PackAccelerators(const std::vector<ACCEL>& list);
std::vector<ACCEL> UnpackAccelerators(const BYTE* pData, UINT nSize);
