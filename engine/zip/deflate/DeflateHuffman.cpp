#include "DeflateHuffman.h"

#include <algorithm>

namespace {

constexpr int kMaxSymbols = 288;
constexpr int kMaxNodes = 2 * kMaxSymbols;
constexpr int kMaxCodeBits = 15;

// The Huffman forest: leaves are symbols 0..count-1, merged nodes follow.
// Equal weights merge the shallower node first, which keeps the tree flat.
struct Forest {
  uint32_t weight[kMaxNodes];
  uint16_t parent[kMaxNodes];
  uint16_t depth[kMaxNodes];
  uint16_t heap[kMaxSymbols + 1];  // 1-based binary heap, lightest on top
  int heapSize = 0;

  bool Lighter(int a, int b) const {
    return weight[a] < weight[b] || (weight[a] == weight[b] && depth[a] <= depth[b]);
  }

  void Push(int node) {
    int i = ++heapSize;
    while (i > 1 && Lighter(node, heap[i / 2])) {
      heap[i] = heap[i / 2];
      i /= 2;
    }
    heap[i] = uint16_t(node);
  }

  int Pop() {
    int top = heap[1];
    int moved = heap[heapSize--];
    int i = 1;
    for (int child = 2; child <= heapSize; child = 2 * i) {
      if (child < heapSize && Lighter(heap[child + 1], heap[child])) ++child;
      if (Lighter(moved, heap[child])) break;
      heap[i] = heap[child];
      i = child;
    }
    heap[i] = uint16_t(moved);
    return top;
  }
};

// Too-long codes, capped at maxBits, oversubscribe the code space. Push the
// deepest leaf that may still go down one level down until the code space
// fits, then lift the deepest leaves while a gap remains, so that the code
// set ends up complete. Works on the count of leaves per length; the
// lengths are handed out again afterwards.
void LimitLengths(uint16_t* countPerLength, int maxBits) {
  const uint32_t space = 1u << maxBits;  // in units of one maxBits-long code
  uint32_t used = 0;
  for (int bits = 1; bits <= maxBits; ++bits) used += uint32_t(countPerLength[bits]) << (maxBits - bits);
  while (used > space) {
    int bits = maxBits - 1;
    while (countPerLength[bits] == 0) --bits;
    --countPerLength[bits];
    ++countPerLength[bits + 1];
    used -= 1u << (maxBits - bits - 1);
  }
  // Every length in use is a multiple of the deepest leaf's share, so
  // lifting that leaf never overshoots.
  while (used < space) {
    int bits = maxBits;
    while (countPerLength[bits] == 0) --bits;
    --countPerLength[bits];
    ++countPerLength[bits - 1];
    used += 1u << (maxBits - bits);
  }
}

}  // namespace

int BuildCodeLengths(const uint32_t* freq, int count, int maxBits, uint8_t* lengths) {
  Forest f;
  int maxCode = -1;
  int used = 0;
  for (int i = 0; i < count; ++i) {
    lengths[i] = 0;
    f.weight[i] = freq[i];
    f.depth[i] = 0;
    if (freq[i] != 0) {
      f.Push(i);
      maxCode = i;
      ++used;
    }
  }
  for (; used < 2; ++used) {
    int forced = maxCode < 2 ? ++maxCode : 0;
    f.weight[forced] = 1;
    f.Push(forced);
  }

  // Merge the two lightest until one tree is left, noting the leaves in the
  // order they leave the heap (lightest first).
  uint16_t lightestFirst[kMaxSymbols];
  int leaves = 0;
  int next = count;
  while (f.heapSize > 1) {
    int a = f.Pop();
    int b = f.Pop();
    if (a < count) lightestFirst[leaves++] = uint16_t(a);
    if (b < count) lightestFirst[leaves++] = uint16_t(b);
    f.weight[next] = f.weight[a] + f.weight[b];
    f.depth[next] = uint16_t(std::max(f.depth[a], f.depth[b]) + 1);
    f.parent[a] = f.parent[b] = uint16_t(next);
    f.Push(next++);
  }

  // Depths from the root down: a merged node always has a higher number than
  // its children.
  uint16_t nodeLength[kMaxNodes];
  int root = next - 1;
  nodeLength[root] = 0;
  for (int node = root - 1; node >= count; --node) nodeLength[node] = uint16_t(nodeLength[f.parent[node]] + 1);

  uint16_t countPerLength[kMaxCodeBits + 1] = {};
  int overflow = 0;
  for (int k = 0; k < leaves; ++k) {
    int symbol = lightestFirst[k];
    int length = nodeLength[f.parent[symbol]] + 1;
    if (length > maxBits) {
      length = maxBits;
      ++overflow;
    }
    lengths[symbol] = uint8_t(length);
    ++countPerLength[length];
  }
  if (overflow > 0) {
    LimitLengths(countPerLength, maxBits);
    int k = 0;
    for (int bits = maxBits; bits > 0; --bits)
      for (int n = countPerLength[bits]; n > 0; --n) lengths[lightestFirst[k++]] = uint8_t(bits);
  }
  return maxCode;
}
