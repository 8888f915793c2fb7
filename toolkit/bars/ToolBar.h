// CXTToolBar: the toolkit's tool bar, a control bar over the common controls'
// "ToolbarWindow32". Buttons carry command ids and are updated through CCmdUI;
// over that the bar adds drop-down buttons (a menu, an application pop-up, a
// pop-up window or the owner's own handling), child controls placed on
// separators, per-button texts, the flat look through the paint style's
// tool-bar painter and tips that name the command's shortcut.
//
// Layout never runs synchronously after a change: every change posts a
// relayout message carrying a counter, and only the latest post acts.
//
// Files: ToolBar.cpp (creation, images, buttons, texts, controls),
// ToolBarLayout.cpp (wrapping, sizes, relayout), ToolBarWrap.cpp (the row
// arithmetic), ToolBarChevron.cpp (hiding what does not fit, the chevron's
// place, the pop-up's copies), ToolBarPaint.cpp (custom draw), ToolBarNotify.cpp (reflected
// notifications, drop-downs, command updates, tips), ToolBarState.cpp (the
// stored layout and its reset), ToolBarCustomize.cpp (customise mode and
// command items), ToolBarDropTarget.cpp (selecting, dragging and dropping
// buttons in customise mode).
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "classlib/controls.h"
#include "classlib/imagelist.h"
#include "toolkit/bars/ControlBar.h"
#include "toolkit/bars/DropDownButtonInfo.h"
#include "toolkit/bars/ToolBarLayoutBytes.h"
#include "toolkit/paint/PaintStyle.h"

class CXTCustomItem;
class CXTExpButton;
class CXTToolBarDropTarget;

class CXTToolBar : public CXTControlBar, public CXTPaintableBar {
  DECLARE_DYNAMIC(CXTToolBar)
  DECLARE_MESSAGE_MAP()
 public:
  enum { kStandardBarId = 0xE800, kSeparatorWidthFlat = 6, kSeparatorWidthClassic = 8 };
  // Room the chevron takes at the end of a docked bar that offers it.
  enum { kChevronAllowance = 13 };

  // One button as the bar remembers it beside the window's own record.
  struct ButtonEntry {
    TBBUTTON button = {};
    HWND control = nullptr;  // a window placed on this separator
    std::shared_ptr<CXTDropDownButtonInfo> dropDown;
    BYTE boldFont = FALSE;
    BYTE hidden = FALSE;  // hidden when the entries were read
  };

  CXTToolBar();
  ~CXTToolBar() override;

  // ---- creation and setup
  virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = kStandardBarId);
  virtual BOOL CreateEx(CWnd* parent, DWORD toolBarStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        const RECT& borders = CRect(0, 0, 0, 0), UINT id = kStandardBarId);
  void SetSizes(SIZE button, SIZE image);
  // The bar's images; the old bitmap is deleted once the new one is set.
  BOOL SetBitmap(HBITMAP bitmap);
  // A bitmap resource whose button colours follow the system colours.
  BOOL LoadBitmap(UINT resourceId);
  void SetImageList(HIMAGELIST images, BOOL normal);
  // One enabled button per id; 0 makes a separator. Null ids: count empty buttons.
  BOOL SetButtons(const UINT* ids, int count);
  virtual void SetOwner(CWnd* owner);

  // ---- buttons
  int CommandToIndex(UINT id) const;
  int GetButtonCount() const;
  // The window's record with TBSTATE_ENABLED as the window keeps it.
  BOOL GetButton(int index, TBBUTTON* button) const;
  // Deletes and re-inserts the button when the record changed.
  void SetButtonInfo(int index, const TBBUTTON& button);
  void SetButtonInfo(int index, UINT id, UINT style, int image);
  void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
  // Low word the style byte, high word the state byte with TBSTATE_ENABLED
  // inverted: 0x40000 means disabled.
  UINT GetButtonStyle(int index) const;
  void SetButtonStyle(int index, UINT style);
  UINT GetItemID(int index) const;
  virtual void GetItemRect(int index, LPRECT rect);
  virtual CSize GetButtonSize(const TBBUTTON* buttons, int index);
  BOOL SetButtonText(int index, LPCSTR text);
  CString GetButtonText(int index) const;
  CXTDropDownButtonInfo* MakeDropDown(UINT id, BOOL arrow);
  CXTDropDownButtonInfo* FindDropDownInfo(UINT id) const;
  virtual BOOL SetControl(CWnd* control, BOOL bold = FALSE);
  virtual void PositionControl(HWND control);
  virtual void PositionControls();
  void RepositionControls();
  void ShowAllButtons();
  // The entries as last read from the window.
  const std::vector<ButtonEntry>& Entries() const { return m_entries; }
  void RebuildEntries();

  // ---- layout
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void PostRelayout();
  void RequestParentNotify();
  int RelayoutCount() const { return m_relayoutCount; }
  BOOL IsHorizontalLayout() const;
  virtual BOOL HasFlatLook() const;
  virtual BOOL HasChevron() const { return TRUE; }
  virtual BOOL HasHiddenButtons() const { return !m_hiddenWidths.empty(); }
  BOOL IsCustomizable() const { return m_bCustomizable; }

  // ---- the chevron
  // Hides buttons from the end until the bar and its chevron fit available
  // (one always stays); returns fullLength.
  int HideButtonsToFit(int fullLength, int available, BOOL horizontal);
  // Shows hidden buttons again in index order while they fit; the length
  // the bar takes.
  int ShowButtonsThatFit(int fullLength, int available, BOOL horizontal);
  // The least a band of the bar may be: its first visible button and the chevron.
  CSize ChevronMinimumSize();
  CXTExpButton* Chevron() const { return m_pChevron; }
  // Copies of the hidden buttons (controls lent, texts and drop-downs kept)
  // into target, in rows of rowWidth or the widest hidden button.
  void FillHiddenButtons(CXTToolBar* target, int rowWidth);
  // Sizes, extended style and owner for a bar that shows this one's buttons.
  void LendLookTo(CXTToolBar& target) const;

  // ---- customisation and the stored layout
  // A customizable bar follows the broker's customise mode and keeps its layout.
  void EnableCustomization(BOOL enable);
  // Customise mode entered (nonzero) or left, as the broker tells its listeners.
  virtual void OnCustomizeMode(INT_PTR on);
  CXTToolBarDropTarget* DropTarget() const { return m_pDropTarget; }
  // The command item of a button (null for a plain separator); the caller deletes it.
  virtual CXTCustomItem* CreateCustomItem(int index);
  // A dragged command becomes a button at index.
  virtual void InsertCustomItem(CXTCustomItem* item, int index);
  CSize GetImageSize() const { return m_sizeImage; }
  int SeparatorWidth() const;
  // A customizable bar restores its stored layout first.
  void EnableDocking(DWORD dockStyle);
  CXTToolBarLayout CurrentLayout() const;
  std::vector<BYTE> CurrentLayoutBytes() const;
  // The layout the program made, as the bar took it on its first save or load.
  const std::vector<BYTE>& DefaultLayoutBytes() const { return m_defaultLayout; }
  BOOL SaveState();
  void RestoreState();
  // Replaces the buttons by those of the bytes; FALSE, changing nothing, when they do not parse.
  BOOL ApplyLayout(const BYTE* bytes, UINT length);
  void ResetLayout();
  void ConfirmResetLayout();

  // ---- behaviour hooks of the class layer
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  COLORREF GetBackColor() const override;
  BOOL CanDragFullWindow() const override { return TRUE; }
  BOOL IsUpdateTarget(CWnd* target) const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // ---- drawing
  virtual void PaintBackground();
  virtual void DrawControlsAndSeparators(CDC* dc);
  virtual BOOL DrawButton(CDC* dc, const NMTBCUSTOMDRAW& item);
  virtual void DrawWrappedSeparators(CDC* dc);

  // ---- drop-downs
  virtual void OnDropDown(NMTOOLBARA* item, const CRect& screenRect);
  virtual void OpenDropDownWindow(CXTDropDownButtonInfo* info, const CRect& screenRect);
  BOOL IsDropDownOpen(int index) const;

  // CXTPaintableBar
  HWND GetBarWindow() const override { return m_hWnd; }
  COLORREF GetBackgroundColor() const override { return GetBackColor(); }
  BOOL IsShowingPopup() const override { return !m_openDropDowns.empty(); }
  int GetMarkedButton() const override { return -1; }
  BOOL GetCommandColor(UINT id, COLORREF* color) const override;

  // The wrap and size arithmetic over a copy of the buttons, for a layout or
  // a test: widths[i] is button i's extent along a row.
  struct RowModel {
    std::vector<TBBUTTON> buttons;
    std::vector<int> widths;
    CSize buttonSize;
  };
  static int WrapToolBar(RowModel& model, int width);
  static CSize CalcSize(const RowModel& model);
  static void SizeToolBar(RowModel& model, int length, BOOL lengthIsHeight);

 protected:
  afx_msg LRESULT OnNcHitTest(CPoint) { return HTCLIENT; }
  afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
  afx_msg void OnWindowPosChanging(WINDOWPOS* pos);
  afx_msg void OnSysColorChange();
  afx_msg BOOL OnNcCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
  afx_msg void OnPaint() { PaintBackground(); }
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSettingOrFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRelayout(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDropDownClosed(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
  afx_msg BOOL OnBeginAdjust(NMHDR*, LRESULT* result);
  afx_msg BOOL OnCustomHelp(NMHDR*, LRESULT* result);
  afx_msg BOOL OnEndAdjust(NMHDR*, LRESULT* result);
  afx_msg BOOL OnGetButtonInfo(NMHDR* header, LRESULT* result);
  afx_msg BOOL OnQueryDelete(NMHDR* header, LRESULT* result);
  afx_msg BOOL OnQueryInsert(NMHDR*, LRESULT* result);
  afx_msg BOOL OnReset(NMHDR*, LRESULT* result);
  afx_msg BOOL OnToolBarChange(NMHDR*, LRESULT* result);
  afx_msg BOOL OnHotItemChange(NMHDR* header, LRESULT* result);
  afx_msg BOOL OnDropDownNotify(NMHDR* header, LRESULT* result);
  afx_msg BOOL OnCustomDraw(NMHDR* header, LRESULT* result);

  // The full layout: wraps for the mode and length, commits with LM_COMMIT.
  CSize CalcLayout(DWORD mode, int length);
  // The mode a layout after a change uses, from where the bar sits.
  DWORD ChangeLayoutMode() const;
  void RecalcButtons();
  void RecalcIfDelayed() {
    if (m_bDelayedLayout) RecalcButtons();
  }
  RowModel ReadRowModel() const;
  void TakeDefaultLayout();
  void LeaveCustomizeMode();
  void InsertCommandButton(CXTCustomItem* item, int index);
  int VisibleButtonCount() const;
  void SetButtonHidden(int index, TBBUTTON button, BOOL hidden);
  void PlaceChevron(int length, BOOL horizontal);
  void SizeChevron(CSize extent, BOOL horizontal);
  int ChevronAllowance() const;
  void TakeImagesInto(CXTToolBar* target) const;
  BOOL LoadState();
  // The image a stored button takes: its own, one the menus know, or none.
  int StoredImage(const CXTToolBarLayout::Button& button, const std::set<UINT>& ownImages);
  void CommitLayout(const RowModel& model);
  ButtonEntry* EntryOfCommand(UINT id);
  const ButtonEntry* EntryOfCommand(UINT id) const;
  CWnd* DropDownOwner() const;
  void CloseDropDown(int index);
  void TrackDropDownMenu(HMENU popup, NMTOOLBARA* item, const CRect& screenRect);
  void SetDropDownOpen(int index, BOOL open);
  // The text of a command's string resource: the short name after "\n", or
  // the prompt before it when that is empty.
  static CString CommandName(UINT id);
  // The tip of a command: its short name, with its first shortcut when it has one.
  CString TipWithShortcut(UINT id) const;

  std::vector<ButtonEntry> m_entries;
  std::map<int, int> m_hiddenWidths;  // index: width before it was hidden
  std::map<UINT, CString> m_texts;    // command: the button's own text
  std::map<std::string, int> m_stringIndexes;
  std::vector<int> m_openDropDowns;  // ascending
  std::vector<BYTE> m_defaultLayout;
  CXTExpButton* m_pChevron = nullptr;  // a child window that deletes itself
  CXTToolBarDropTarget* m_pDropTarget = nullptr;  // while customise mode lasts
  CSize m_sizeImage{16, 15};
  CSize m_sizeButton{23, 22};
  CString m_settingsSection, m_settingsValue;
  BOOL m_bDelayedLayout = TRUE;
  HINSTANCE m_hInstImageWell = nullptr;
  HRSRC m_hRsrcImageWell = nullptr;
  HBITMAP m_hbmImageWell = nullptr;
  BOOL m_bSuppressPaint = FALSE;
  CWnd* m_pDropDownWindow = nullptr;
  int m_nDropDownCommand = -1;
  DWORD m_dwDrawTextMask = 0, m_dwDrawTextFlags = 0;
  BYTE m_bCaptureAfterDropDown = FALSE;
  BYTE m_bFirstItemOfPaint = TRUE;
  BYTE m_bCustomizable = FALSE;
  BYTE m_bAdjusting = FALSE;
  BYTE m_bListStyle = FALSE;
  BYTE m_bParentNotifyPending = FALSE;
  int m_relayoutCount = 0;
};
