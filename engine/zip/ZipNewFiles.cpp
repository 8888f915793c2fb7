#include <stdlib.h>

#include "messages/ZipProgress.h"
#include "ZipFileList.h"

namespace {

int CompareNodes(const void *a, const void *b) {
  const ZipNewFile *x = *static_cast<ZipNewFile *const *>(a);
  const ZipNewFile *y = *static_cast<ZipNewFile *const *>(b);
  return lstrcmpA(x->name, y->name);
}

void Relink(ZipNewFile **nodes, uint32_t count, ZipLoopState &loop) {
  for (uint32_t i = 0; i < count; ++i) {
    nodes[i]->prev = i ? nodes[i - 1] : nullptr;
    nodes[i]->next = i + 1 < count ? nodes[i + 1] : nullptr;
  }
  loop.newFiles = nodes[0];
  loop.newFilesTail = nodes[count - 1];
}

}  // namespace

ZipNewFile *ZipRemoveNewFile(ZipNewFile *node, ZipState *state) {
  ZipLoopState &loop = state->loop;
  ZipNewFile *next = node->next;
  if (node->prev) node->prev->next = next;
  else loop.newFiles = next;
  if (next) next->prev = node->prev;
  else loop.newFilesTail = node->prev;
  --loop.newFileCount;
  free(node->path);
  free(node->name);
  free(node);
  return next;
}

void ZipFreeNewFiles(ZipState *state) {
  for (ZipNewFile *node = state->loop.newFiles; node;) node = ZipRemoveNewFile(node, state);
  free(state->loop.workBuffer);
  state->loop.workBuffer = nullptr;
}

int ZipSortNewFiles(ZipState *state) {
  ZipLoopState &loop = state->loop;
  if (loop.newFileCount < 2) return ZipCheckCancel(state) ? 9 : 0;
  auto **nodes = static_cast<ZipNewFile **>(malloc(loop.newFileCount * sizeof(ZipNewFile *)));
  if (!nodes) return 4;
  uint32_t count = 0;
  for (ZipNewFile *node = loop.newFiles; node; node = node->next) nodes[count++] = node;
  qsort(nodes, count, sizeof *nodes, CompareNodes);
  Relink(nodes, count, loop);
  free(nodes);
  if (ZipCheckCancel(state)) return 9;
  for (ZipNewFile *node = loop.newFiles; node && node->next;) {
    if (lstrcmpiA(node->name, node->next->name) == 0) node = ZipRemoveNewFile(node, state);
    else node = node->next;
  }
  return 0;
}
