// CXTCustomizeBroker: where everything that takes part in customising bars
// meets without knowing the others. Each registers {object, member}
// listeners in the broker's arrays; whoever causes an event notifies the
// matching array. The broker also runs the modal drag of a command item
// between the Commands page and the bars (BeginDrag), with the drop targets
// that collect themselves when a drag begins. One instance, made on first use.
#pragma once

#include <vector>

#include "classlib/classlib.h"
#include "toolkit/common/ListenerArray.h"

#include <set>

class CXTCustomItem;
class CXTToolBar;

// What the tool-bar factory is asked for and answers: a user tool bar.
struct CXTUserBarRecord {
  CFrameWnd* frame;
  UINT id;
  CString title;
  CXTToolBar* bar;  // out: the new bar
};
typedef void (CCmdTarget::*XT_BAR_FACTORY_FN)(CXTUserBarRecord* record);

// What a drop target answers while a command is dragged over it.
class CXTCustomDropTarget {
 public:
  virtual ~CXTCustomDropTarget() = default;
  virtual BOOL ContainsPoint(CPoint point) = 0;
  // May clear copyAllowed: a target that takes the item as a move only.
  virtual BOOL Accept(CXTCustomItem* item, CPoint point, BOOL& copyAllowed) = 0;
  virtual void Track(CPoint point) = 0;
  virtual void Leave() = 0;
  virtual void Drop(CXTCustomItem* item, CPoint point) = 0;
};

// The state of one drag; drop-target collectors add themselves to it.
class CXTDragTracker {
 public:
  CXTDragTracker(CWnd* source, CXTCustomItem* item) : m_source(source), m_item(item) {}
  void AddTarget(CXTCustomDropTarget* target) { m_targets.push_back(target); }
  // Finds or keeps the target under point and shows the cursor for it.
  void TrackPoint(CPoint point);
  // Drops on the current target; the move flag.
  BOOL Drop();
  // The target the drag left without a drop.
  void LeaveTarget();
  // Switches between moving and copying and shows it.
  void SetMove(BOOL move);
  BOOL m_bMove = TRUE;
  BOOL m_bAllowCopy = TRUE;    // as the drag began
  BOOL m_bCopyAllowed = TRUE;  // as the current target leaves it

 private:
  void ShowCursor();

  CWnd* m_source;
  CXTCustomItem* m_item;
  std::vector<CXTCustomDropTarget*> m_targets;
  CXTCustomDropTarget* m_current = nullptr;
  CPoint m_last;
};

class CXTCustomizeBroker : public CCmdTarget {
 public:
  // The listener arrays, by role.
  enum Array {
    kCommandListProviders,
    kIconProviders,
    kBarEnumerators,
    kDragStartListeners,
    kCustomizeModeListeners,
    kDropTargetCollectors,  // argument: the CXTDragTracker
    kBarVisibilityListeners,
    kBarCreatedListeners,
    kBarTitleListeners,
    kBarDeletedListeners,
    kCommandDeletedListeners,
    kArrayCount
  };
  enum { kFloatStart = 200, kFloatStep = 15 };

  CXTCustomizeBroker();
  CXTListenerArray& Listeners(Array array) { return m_arrays[array]; }
  // Takes the client out of every array; the broker's own customise-mode
  // entry goes too once it is the last one left.
  void RemoveClient(CCmdTarget* client);
  // Every customise-mode listener enters (TRUE) or leaves customise mode.
  void NotifyCustomizeMode(BOOL on) { m_arrays[kCustomizeModeListeners].NotifyAll(on); }
  BOOL IsCustomizeMode() const { return m_customizeMode[1]; }
  void ClearCustomizeModeFlag() { m_customizeMode[1] = FALSE; }
  // Drags item from source until a drop, Escape or a right click; TRUE when
  // the source should remove its item (a move), FALSE for a copy, a cancel
  // or a drag that never started (another window holds the capture).
  BOOL BeginDrag(CWnd* source, BOOL allowCopy, CXTCustomItem* item);
  // Where the next floated user bar goes: from (200, 200), 15 further each time.
  CPoint NextFloatPosition();
  // The recent-file and window-list commands and "Display full menus" stay as they are.
  static BOOL IsCommandCustomizable(UINT id);

  // ---- user tool bars, kept as "CustomBars-Info" in the frame's profile section
  // Who makes a user tool bar; the broker's own CreateToolBar at first.
  void SetToolBarFactory(CCmdTarget* object, XT_BAR_FACTORY_FN factory);
  // The default factory: a flat, customizable bar, docking anywhere, not shown
  // yet; throws the resource exception when its window cannot be made.
  void CreateToolBar(CXTUserBarRecord* record);
  // Floats a new user bar at the next floating position and shows it.
  void FloatToolBar(CFrameWnd* frame, CControlBar* bar);
  // Makes the stored bars the frame lacks; a bar that cannot be made is left
  // out. FALSE when nothing (readable, version 1) is stored.
  BOOL LoadUserBars(CFrameWnd* frame, LPCSTR profile);
  // Stores the frame's user bars, or deletes the value when it has none.
  BOOL SaveUserBars(CFrameWnd* frame, LPCSTR profile);

 private:
  void OnCustomizeMode(INT_PTR on);
  BOOL RunDragLoop(CXTDragTracker& tracker, CWnd* source);

  CPoint m_nextFloat{kFloatStart, kFloatStart};
  CCmdTarget* m_factoryObject = this;
  XT_BAR_FACTORY_FN m_factory;
  std::set<HWND> m_userBars;
  BOOL m_customizeMode[2] = {FALSE, FALSE};
  CXTListenerArray m_arrays[kArrayCount];
};

CXTCustomizeBroker& GetCustomizeBroker();
