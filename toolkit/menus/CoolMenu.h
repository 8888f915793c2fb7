// CXTCoolMenu: the frame's popup menus as owner-drawn menus with the command
// images beside the commands, in the flat or the classic look. Commands
// marked hidden are taken out of menus opened from the menu bar until the
// user asks for full menus (the ">> chevron" expand item at the bottom) or
// uses them (the recent list in the settings store). When a popup closes,
// every menu is put back exactly as it was: removed items at their
// positions, their own types and item data.
//
// The cool menu is a hook on the frame; a WH_CBT hook of the UI thread puts
// a small hook on each popup-menu window for its painting, reveal animation,
// flat border and drop shadows.
//
// Files: CoolMenu.cpp (frame messages, opening and closing, tracking,
// images), CoolMenuItems.cpp (item records, hiding, the expand item, keys,
// recent items), CoolMenuDraw.cpp (measuring and drawing items),
// PopupMenuWatch (the popup-menu windows), CoolMenuPopupHook (one window).
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "classlib/cstring.h"
#include "toolkit/common/WndHook.h"

// The command of the expand item, also "Display full menus".
#define XT_IDC_FULL_MENUS 53783

// The record a toolkit owner-drawn item carries. Only records the cool menu
// made itself are ever read: item data is looked up among them first.
struct CXTMenuItemData {
  enum Flags : UINT { kBlockStart = 1, kBlockEnd = 2, kHideable = 4 };
  static const DWORD kTag;  // the bytes "qmnu"
  DWORD tag = kTag;
  CString text;
  HMENU menu = nullptr;
  HMENU submenu = nullptr;
  int position = 0;  // when first seen
  UINT id = 0;
  UINT type = 0;  // MFT_ flags when first seen
  UINT state = 0;
  UINT flags = 0;
  bool removed = false;
};

class CXTCoolMenu : public CXTWndHook {
 public:
  CXTCoolMenu();
  ~CXTCoolMenu() override;

  void Install(CWnd* frame);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Images: every button of a tool-bar window, or a tool-bar resource.
  BOOL LoadToolbar(HWND toolBar);
  BOOL LoadToolbar(UINT resourceId);
  BOOL LoadToolbars(const UINT* ids, int count);
  BOOL AddImage(UINT id, HICON icon);
  // A strip of images of the menus' image size, 0xC0C0C0 transparent: image i
  // goes to ids[i] (0 skips it). FALSE when the strip gives no images.
  BOOL AddImages(HBITMAP bitmap, const UINT* ids, int count);
  BOOL AddImages(UINT bitmapId, const UINT* ids, int count);

  void HideCommand(UINT id);
  void HideCommands(const UINT* ids, int count);
  BOOL IsHiddenCommand(UINT id) const;
  // Hidden commands are taken out only of popups the menu bar opens.
  static void SetMenuBarPopup(BOOL fromMenuBar);
  BOOL IsHidingEnabled() const;

  void SetMaxRecentItems(int count) { m_maxRecent = count; }
  void AddRecentItem(UINT id);
  BOOL IsRecentItem(UINT id) const;
  void ResetRecentItems();

  // Tracks a popup with TPM_RETURNCMD; the expand item reopens it at once
  // with full menus. post: the chosen command is also posted to the owner.
  UINT TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, CWnd* owner, const RECT* exclude, BOOL post);

  // The handlers the frame's messages reach; public for the menu bar.
  void OnInitMenuPopup(HMENU menu, UINT index, BOOL systemMenu);
  BOOL OnMeasureItem(MEASUREITEMSTRUCT* item);
  BOOL OnDrawItem(const DRAWITEMSTRUCT* item);
  LRESULT OnMenuChar(UINT ch, UINT flags, HMENU menu);
  void OnMenuSelect(UINT id, UINT flags, HMENU menu);

  BOOL IsFullMenus() const { return m_fullMenus; }
  // Whether any cool menu has made the menu owner-drawn.
  static BOOL IsCoolMenu(HMENU menu);
  // The next WM_INITMENUPOPUP the owner's cool menu sees is passed on
  // untouched: the menu bar calls this before it tracks a system menu. An
  // owner without a cool menu raises nothing, so no later popup is skipped.
  static void SkipInitMenuPopup(HWND owner);
  // The title (screen coordinates) the next popup opens from, when it is not
  // the menu bar's open title, which popups find by themselves: the flat
  // border joins the title and the shadows leave the joint alone.
  static void SetNextPopupTitle(const RECT& title);
  // The record of an item, or null when the item data is not one of ours.
  CXTMenuItemData* FindRecord(ULONG_PTR itemData) const;

 private:
  // The expand timer and its delay; the customise flag that switches it on.
  enum : UINT { kExpandTimer = 1000, kExpandDelay = 750, kExpandAfterDelayFlag = 4 };

  bool ExpandsAfterDelay() const;
  void FollowExpandHover(bool highlighted);
  void OnExpandTimer();
  void SubclassMenu(HMENU menu, BOOL on);
  CXTMenuItemData* MakeRecord(HMENU menu, int position, const MENUITEMINFOA& info, const CString& text);
  void DeleteRecord(CXTMenuItemData* record);
  std::vector<CXTMenuItemData*> RecordsOf(HMENU menu) const;
  void HideItems(HMENU menu);
  BOOL RestoreMenu(HMENU menu);
  void UpdateExpandItem(HMENU menu, BOOL force);
  void RemoveExpandItem(HMENU menu);
  BOOL HasHiddenItems(HMENU menu) const;
  BOOL IsSystemMenu(HMENU menu) const;
  void CloseMenus();
  std::vector<UINT> ReadRecentItems() const;

  void DrawItemBackground(CDC* dc, const DRAWITEMSTRUCT& item, const CXTMenuItemData& data, bool shownHidden);
  void DrawSeparator(CDC* dc, const CRect& rect, bool shownHidden);
  // The record above (step -1) or below (step 1) in the menu's own order.
  const CXTMenuItemData* Neighbour(const CXTMenuItemData& data, int step) const;
  bool IsShownHidden(const CXTMenuItemData& data) const;
  void DrawHiddenBlockEdges(CDC* dc, const CRect& rect, const CXTMenuItemData& data);
  bool DrawItemImage(CDC* dc, const DRAWITEMSTRUCT& item, const CXTMenuItemData& data, const CRect& cell);
  void DrawCheckMark(CDC* dc, const CRect& cell, bool selected, bool grayed, bool radio);
  void DrawExpandItem(CDC* dc, const CRect& rect, bool selected);
  void DrawMenuText(CDC* dc, const CRect& rect, const CString& text, COLORREF color, bool bold);
  CRect CellRect(const CRect& item) const;
  // The item's position in its menu as shown now, or -1.
  int FindItemPosition(const CXTMenuItemData& data) const;
  struct ItemPlace {
    bool first, last;
  };
  ItemPlace PlaceOf(const CXTMenuItemData& data) const;

  std::vector<UINT> m_hidden;
  CSize m_imageSize{16, 15};
  CSize m_cellSize{16, 15};
  int m_maxRecent = 5;
  BOOL m_hasHidden = FALSE;
  BOOL m_fullMenus = FALSE;
  std::vector<HMENU> m_menus;  // menus made owner-drawn
  std::vector<std::unique_ptr<CXTMenuItemData>> m_records;
  std::set<const CXTMenuItemData*> m_known;
  bool m_installed = false;
  bool m_expandHot = false;  // the expand item was last drawn highlighted
};
