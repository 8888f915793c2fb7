// Objects that receive commands through message maps, and CCmdUI, which
// asks them whether a command is enabled, checked or relabelled.
//
// A message map is a plain table of entries searched from the most derived
// class to the base; within one table the first matching entry wins.
#pragma once

#include <string.h>

#include "classlib/object.h"

// Marks message handlers; expands to nothing.
#define afx_msg

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

class CCmdTarget;
class CCmdUI;
class CMenu;
class CWnd;

typedef void (CCmdTarget::*AFX_PMSG)();

// Converts between member-function pointer types of one size, so a table
// can hold handlers of every signature; each is called through its own type.
template <class To, class From>
inline To AfxPmsgCast(From from) {
  static_assert(sizeof(To) == sizeof(From), "member pointers of one size");
  To to;
  memcpy(&to, &from, sizeof to);
  return to;
}

// How an entry's member function is called: its argument list and result.
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,
  AfxSig_v_v,          // void ()
  AfxSig_b_v,          // BOOL ()
  AfxSig_v_u,          // void (UINT id)
  AfxSig_b_u,          // BOOL (UINT id)
  AfxSig_cmdui,        // void (CCmdUI*)
  AfxSig_notify,       // void (NMHDR*, LRESULT*)
  AfxSig_notify_b,     // BOOL (NMHDR*, LRESULT*)
  AfxSig_notify_u,     // void (UINT id, NMHDR*, LRESULT*)
  AfxSig_notify_u_b,   // BOOL (UINT id, NMHDR*, LRESULT*)
  AfxSig_l_w_l,        // LRESULT (WPARAM, LPARAM)
  // window messages, cracked
  AfxSig_i_CREATESTRUCT,    // int (LPCREATESTRUCT)
  AfxSig_b_CREATESTRUCT,    // BOOL (LPCREATESTRUCT)
  AfxSig_v_u_i_i,           // void (UINT, int, int)        WM_SIZE
  AfxSig_v_i_i,             // void (int, int)              WM_MOVE
  AfxSig_v_u_p,             // void (UINT, CPoint)          mouse
  AfxSig_b_u_s_p,           // BOOL (UINT, short, CPoint)   WM_MOUSEWHEEL
  AfxSig_b_D,               // BOOL (CDC*)                  WM_ERASEBKGND
  AfxSig_v_up,              // void (UINT_PTR)              WM_TIMER
  AfxSig_b_W_u_u,           // BOOL (CWnd*, UINT, UINT)     WM_SETCURSOR
  AfxSig_l_p,               // LRESULT (CPoint)             WM_NCHITTEST
  AfxSig_v_b_NCCALCSIZE,    // void (BOOL, NCCALCSIZE_PARAMS*)
  AfxSig_v_u_u_u,           // void (UINT, UINT, UINT)      keys
  AfxSig_v_u_s,             // void (UINT, LPCSTR)          WM_SETTINGCHANGE
  AfxSig_hbr_D_W_u,         // HBRUSH (CDC*, CWnd*, UINT)   WM_CTLCOLOR
  AfxSig_hbr_D_u,           // HBRUSH (CDC*, UINT)          reflected WM_CTLCOLOR
  AfxSig_v_i_DRAWITEM,      // void (int, LPDRAWITEMSTRUCT)
  AfxSig_v_i_MEASUREITEM,   // void (int, LPMEASUREITEMSTRUCT)
  AfxSig_v_i_DELETEITEM,    // void (int, LPDELETEITEMSTRUCT)
  AfxSig_v_MINMAXINFO,      // void (MINMAXINFO*)
  AfxSig_v_WINDOWPOS,       // void (WINDOWPOS*)
  AfxSig_v_W,               // void (CWnd*)
  AfxSig_v_b_u,             // void (BOOL, UINT)            WM_SHOWWINDOW
  AfxSig_v_u_W_b,           // void (UINT, CWnd*, BOOL)     WM_ACTIVATE
  AfxSig_b_b,               // BOOL (BOOL)                  WM_NCACTIVATE
  AfxSig_i_W_u_u,           // int (CWnd*, UINT, UINT)      WM_MOUSEACTIVATE
  AfxSig_v_M_u_b,           // void (CMenu*, UINT, BOOL)    WM_INITMENUPOPUP
  AfxSig_v_M,               // void (CMenu*)                WM_INITMENU
  AfxSig_v_u_u_M,           // void (UINT, UINT, HMENU)     WM_MENUSELECT
  AfxSig_v_u_l,             // void (UINT, LPARAM)          WM_SYSCOMMAND, WM_PARENTNOTIFY
  AfxSig_v_W_p,             // void (CWnd*, CPoint)         WM_CONTEXTMENU
  AfxSig_v_u_u_W,           // void (UINT, UINT, CWnd*)     scroll bars
  AfxSig_v_b,               // void (BOOL)                  WM_ENABLE
  AfxSig_u_v,               // UINT ()                      WM_GETDLGCODE
  AfxSig_v_u_W,             // void (UINT, CWnd*)           WM_ENTERIDLE
  AfxSig_v_u_LPRECT,        // void (UINT, LPRECT)          WM_SIZING
  AfxSig_b_HELPINFO,        // BOOL (HELPINFO*)
  AfxSig_v_b_h,             // void (BOOL, DWORD)           WM_ACTIVATEAPP
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;    // notification code, or CN_COMMAND / CN_UPDATE_COMMAND_UI
  UINT nID;      // first control or command id
  UINT nLastID;  // last id of a range
  UINT_PTR nSig;
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg found when it was only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_PMSG pmf;
};

// The extra argument of a WM_NOTIFY routed through OnCmdMsg.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// The extra argument of a reflected WM_CTLCOLOR*.
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};

#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))
#define WM_REFLECT_BASE 0xBC00

// The layer's own window messages.
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
#define WM_COMMANDHELP 0x0365
#define WM_HELPHITTEST 0x0366
#define WM_EXITHELPMODE 0x0367
#define WM_RECALCPARENT 0x0368
#define WM_SIZEPARENT 0x0361
#define WM_KICKIDLE 0x036A
#define WM_QUERYCENTERWND 0x036B
#define WM_POPMESSAGESTRING 0x0375
#define WM_HELPPROMPTADDR 0x0376

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  // pHandlerInfo non-null only asks whether a handler exists, and says which.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;

  // The first entry of this object's maps that handles nMessage with this
  // code and id, searching the derived class's table first.
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;

 private:
  HCURSOR m_hcurWaitRestore = nullptr;
};

// Runs the entry's member function with the arguments of a command.
BOOL AfxDispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, const AFX_MSGMAP_ENTRY* pEntry, void* pExtra);

// One command's user-interface element (a menu item, a control, a tool-bar
// button), updated by whatever handles its update command.
class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCSTR lpszText);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Offers the update to pTarget; with no update handler and
  // bDisableIfNoHndler, enables the element exactly when a command handler exists.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;
  CMenu* m_pSubMenu = nullptr;
  CMenu* m_pParentMenu = nullptr;
  CWnd* m_pOther = nullptr;
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;
};

// Finds out whether a command is enabled before it runs.
class CTestCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override { m_bEnabled = bOn; m_bEnableChanged = TRUE; }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
  BOOL m_bEnabled = TRUE;
};

// Shows the hour-glass for the life of the object.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  void Restore();
};

// ---- message map tables

#define DECLARE_MESSAGE_MAP()                      \
 protected:                                        \
  static const AFX_MSGMAP* GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }   \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                    \
    typedef theClass ThisClass;                                                        \
    typedef baseClass TheBaseClass;                                                    \
    (void)sizeof(ThisClass);                                                           \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                          \
  {0, 0, 0, 0, AfxSig_end, nullptr}};                                              \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, _messageEntries}; \
  return &messageMap;                                                              \
  }

// The member pointer is converted to its base class with static_cast first,
// so classes with several bases get their this-adjustment right.
#define AFX_PMSG_OF(type, member) AfxPmsgCast<AFX_PMSG>(static_cast<type>(member))

#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_v_v, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_v_u, AFX_PMSG_OF(void (CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), AfxSig_b_u, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), AfxSig_b_u, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), AfxSig_cmdui, AFX_PMSG_OF(void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), AfxSig_cmdui, AFX_PMSG_OF(void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)},
// A control's own update, offered with code MAKELONG(CN_UPDATE_COMMAND_UI, WM_REFLECT_BASE + WM_COMMAND).
#define ON_UPDATE_COMMAND_UI_REFLECT(memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)CN_UPDATE_COMMAND_UI, 0, 0, AfxSig_cmdui, AFX_PMSG_OF(void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)},

#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSig_v_v, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_COMMAND, (WORD)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSig_v_u, AFX_PMSG_OF(void (CCmdTarget::*)(UINT), &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSig_v_v, AFX_PMSG_OF(void (CCmdTarget::*)(), &ThisClass::memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSig_b_v, AFX_PMSG_OF(BOOL (CCmdTarget::*)(), &ThisClass::memberFxn)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)

#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSig_notify, AFX_PMSG_OF(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSig_notify_u, AFX_PMSG_OF(void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSig_notify_u_b, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
  {WM_NOTIFY, (WORD)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSig_notify_u_b, AFX_PMSG_OF(BOOL (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSig_notify, AFX_PMSG_OF(void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE, (WORD)(int)(wNotifyCode), 0, 0, AfxSig_notify_b, AFX_PMSG_OF(BOOL (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)},

#define ON_MESSAGE(message, memberFxn) \
  {(UINT)(message), 0, 0, 0, AfxSig_l_w_l, AFX_PMSG_OF(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},
