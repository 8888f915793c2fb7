#include "toolkit/bars/ToolBarLayoutBytes.h"

#include <cstdlib>
#include <cstring>

#include "classlib/archive.h"

namespace {

const WORD kLayoutVersion = 1;
const DWORD kDescriptorSize = sizeof(CXTDropDownButtonInfo);
// Record flags of a stored button.
const WORD kHasDropDown = 1;
const WORD kNoImage = 2;
const WORD kHasImage = 4;
// The least a record takes, so that a count can be weighed against the bytes.
const UINT kLeastButtonBytes = 4 + 1 + 4 + 2;
const UINT kLeastTextBytes = 4 + 1;
const UINT kLeastHeaderBytes = 2 + 2 + 2 + 2;

WORD RecordFlags(const CXTToolBarLayout::Button& button, bool hasDropDown) {
  WORD flags = hasDropDown ? kHasDropDown : 0;
  if (button.image == -2) flags |= kNoImage;
  if (button.image >= 0) flags |= kHasImage;
  return flags;
}

}  // namespace

std::vector<BYTE> WriteToolBarLayout(const CXTToolBarLayout& layout) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << kLayoutVersion << static_cast<WORD>(layout.listStyle ? 1 : 0);
    ar.WriteCount(kDescriptorSize);
    ar.WriteCount(layout.buttons.size());
    for (const CXTToolBarLayout::Button& button : layout.buttons) {
      auto dropDown = layout.dropDowns.find(static_cast<UINT>(button.idCommand));
      const bool hasDropDown = dropDown != layout.dropDowns.end();
      ar << button.idCommand << button.style << button.image << RecordFlags(button, hasDropDown);
      if (hasDropDown) ar.Write(&dropDown->second, kDescriptorSize);
    }
    ar.WriteCount(layout.texts.size());
    for (const auto& text : layout.texts) ar << text.first << text.second;
    ar.Close();
  }
  const UINT length = static_cast<UINT>(file.GetLength());
  BYTE* block = file.Detach();
  std::vector<BYTE> bytes(block, block + length);
  free(block);
  return bytes;
}

BOOL ParseToolBarLayout(const BYTE* bytes, UINT length, CXTToolBarLayout* layout) {
  CMemFile file(const_cast<BYTE*>(bytes), length);
  CXTToolBarLayout parsed;
  try {
    CArchive ar(&file, CArchive::load);
    WORD version = 0, flags = 0;
    ar >> version;
    if (version != kLayoutVersion) return FALSE;
    ar >> flags;
    parsed.listStyle = (flags & 1) != 0;
    if (ar.ReadCount() != kDescriptorSize) return FALSE;
    const DWORD_PTR count = ar.ReadCount();
    // A count is weighed against the bytes behind the header before anything is made for it.
    if (count > (length - kLeastHeaderBytes) / kLeastButtonBytes) return FALSE;
    parsed.buttons.reserve(count);
    for (DWORD_PTR i = 0; i < count; ++i) {
      CXTToolBarLayout::Button button;
      WORD recordFlags = 0;
      ar >> button.idCommand >> button.style >> button.image >> recordFlags;
      if (recordFlags & kHasDropDown) {
        CXTDropDownButtonInfo info;
        if (ar.Read(&info, kDescriptorSize) != kDescriptorSize) return FALSE;
        parsed.dropDowns[static_cast<UINT>(button.idCommand)] = info;
      }
      parsed.buttons.push_back(button);
    }
    const DWORD_PTR texts = ar.ReadCount();
    if (texts > (length - kLeastHeaderBytes) / kLeastTextBytes) return FALSE;
    for (DWORD_PTR i = 0; i < texts; ++i) {
      UINT id = 0;
      CString text;
      ar >> id >> text;
      parsed.texts[id] = text;
    }
  } catch (CArchiveException* e) {
    e->Delete();
    return FALSE;
  }
  *layout = std::move(parsed);
  return TRUE;
}
