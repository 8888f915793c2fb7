// CXTImageStore: the process-wide store of command images that menus and
// tool bars draw from. Each command has its image and, made from it, a faded
// version (every visible pixel 30 % towards white) and a shadow version
// (every visible pixel in the image-shadow colour, toolkit colour 38); a
// disabled image may be given later.
//
// Two maps: the tool-bar map, filled from tool bars, and the menu map, filled
// by the cool menus. Menus look in their map first and then in the tool-bar
// map; tool bars look only in theirs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>

struct CXTCommandImage {
  HICON image = nullptr;
  HICON faded = nullptr;
  HICON shadow = nullptr;
  HICON disabled = nullptr;
};

class CXTImageStore {
 public:
  enum Map { kToolBarMap, kMenuMap };
  // The toolkit colour whose shade the shadow images take.
  enum { kImageShadowColor = 38 };

  CXTImageStore() = default;
  ~CXTImageStore() { RemoveAll(); }
  CXTImageStore(const CXTImageStore&) = delete;
  CXTImageStore& operator=(const CXTImageStore&) = delete;

  // A tool-bar resource (type 241: 16-bit words version, width, height, count,
  // then count command ids, 0 for a separator) with the bitmap of the same
  // name; images whose pixels are 0xC0C0C0 there are transparent. The n-th
  // non-zero id takes image n. FALSE when nothing could be added.
  BOOL AddToolBarResource(HINSTANCE module, LPCSTR name, Map map = kMenuMap);
  // Every button of a tool-bar window with an image and a command id.
  BOOL AddToolBarButtons(HWND toolBar);
  // One icon for one command, drawn at the given size.
  BOOL AddIcon(UINT id, HICON icon, int cx, int cy);
  // create: make the command's record (an existing one is kept); else give a
  // command that has a record and no disabled image this one as disabled.
  BOOL AddImage(UINT id, HIMAGELIST images, int index, BOOL create, Map map);

  const CXTCommandImage* LookupForMenu(UINT id) const;
  const CXTCommandImage* LookupForToolBar(UINT id) const;
  void RemoveAll();

 private:
  std::map<UINT, CXTCommandImage> m_maps[2];
};

CXTImageStore& GetImageStore();
