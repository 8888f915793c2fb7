#include "toolkit/customize/CustomItem.h"

CXTCustomItem* CXTCustomItem::Clone() const {
  CXTCustomItem* copy = new CXTCustomItem(m_nKind);
  copy->m_strText = m_strText;
  copy->m_strText2 = m_strText2;
  copy->m_nCmdID = m_nCmdID;
  if (m_normalIcon.Get()) copy->m_normalIcon.Reset(::CopyIcon(m_normalIcon.Get()));
  if (m_pDropDown) copy->SetDropDown(new CXTDropDownButtonInfo(*m_pDropDown), TRUE);
  return copy;
}

void CXTCustomItem::SetDropDown(CXTDropDownButtonInfo* info, BOOL owned) {
  if (m_bOwnsDropDown) delete m_pDropDown;
  m_pDropDown = info;
  m_bOwnsDropDown = owned;
}
