// The items of a menu bar, always in this order: the MDI child's system-menu
// icon, one text item per top-level position of the menu, and the child's
// minimise, restore and close buttons. The icon and buttons show only while
// an MDI child is maximised.
#pragma once

#include "classlib/cstring.h"
#include "classlib/dc.h"
#include "classlib/geometry.h"

class CXTMenuBar;

class CXTMenuBarItem {
 public:
  explicit CXTMenuBarItem(CXTMenuBar* bar) : m_bar(bar) {}
  virtual ~CXTMenuBarItem() = default;
  virtual BOOL IsHidden() const { return FALSE; }
  virtual void Draw(CDC* dc) = 0;
  // The character after the text's single "&"; FALSE without one.
  virtual BOOL GetMnemonic(char* mnemonic) const { return FALSE; }
  virtual CSize GetSize() const = 0;
  // Whether a row may end after this item.
  virtual BOOL CanWrap() const { return TRUE; }
  // Pixels left free after the item.
  virtual int GetSpacing() const { return 0; }
  // What a click on the item opens, and what a double click does.
  virtual void Track() {}
  virtual void OnDoubleClick() {}
  CRect GetRect() const { return CRect(m_pos, GetSize()); }

  CPoint m_pos;  // in the bar's client area
  BOOL m_bRowEnd = FALSE;

 protected:
  CXTMenuBar* m_bar;
};

// A top-level title of the menu.
class CXTMenuBarTextItem : public CXTMenuBarItem {
 public:
  CXTMenuBarTextItem(CXTMenuBar* bar, int position, const CString& text, CSize size);
  void Draw(CDC* dc) override;
  BOOL GetMnemonic(char* mnemonic) const override;
  CSize GetSize() const override { return m_size; }
  void Track() override;
  int GetPosition() const { return m_position; }
  const CString& GetText() const { return m_text; }

 private:
  int m_position;
  CString m_text;
  CSize m_size;
  char m_mnemonic;
};

// The maximised MDI child's icon or one of its caption buttons.
class CXTMenuBarChildItem : public CXTMenuBarItem {
 public:
  // The icon's type; a button's is its DFCS_CAPTION* (the close button's is 0).
  enum : UINT { kIcon = 0xFFFF };
  // type: kIcon, or the DFCS_CAPTION* of a button.
  CXTMenuBarChildItem(CXTMenuBar* bar, UINT type, UINT sysCommand, int spacing);
  BOOL IsHidden() const override;
  void Draw(CDC* dc) override;
  CSize GetSize() const override;
  BOOL CanWrap() const override;
  int GetSpacing() const override { return m_spacing; }
  void Track() override;
  void OnDoubleClick() override;
  UINT GetType() const { return m_type; }
  UINT GetSysCommand() const { return m_sysCommand; }

 private:
  UINT m_type;
  UINT m_sysCommand;
  int m_spacing;
};

// The mnemonic of a menu title: the character after its first single "&",
// none when that "&" ends the text; a doubled "&&" is a literal ampersand.
char FindMnemonic(const char* text);
// Where that character stands in the text as shown, or -1.
int MnemonicIndex(const char* text);
// The text as shown: single ampersands dropped, a doubled one kept once.
CString ShownTitle(const char* text);
