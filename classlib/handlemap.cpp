#include "classlib/handlemap.h"

#include <vector>

static std::vector<CTempMapBase*>& TempMaps() {
  thread_local std::vector<CTempMapBase*>* maps = new std::vector<CTempMapBase*>;
  return *maps;
}

CTempMapBase::CTempMapBase() { TempMaps().push_back(this); }

void AfxDeleteTempMaps() {
  for (CTempMapBase* map : TempMaps()) map->DeleteTemp();
}
