#include "DeflateHuffman.h"

#include <algorithm>

namespace {

constexpr int kMaxSymbols = 288;
constexpr int kMaxCodeBits = 15;

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

// Sorts the used symbols by weight (the symbol breaking ties), lightest
// first; with fewer than two used, unused symbols 0 and 1 are taken in with
// weight 1, so that the code set stays complete. Returns the number sorted
// and sets maxCode to the highest symbol with a code.
int SortLeaves(const uint32_t* freq, int count, uint16_t* lightestFirst, uint32_t* weights, int& maxCode) {
  uint64_t keys[kMaxSymbols];
  int used = 0;
  maxCode = -1;
  for (int i = 0; i < count; ++i) {
    if (freq[i] == 0) continue;
    keys[used++] = uint64_t(freq[i]) << 16 | uint32_t(i);
    maxCode = i;
  }
  for (; used < 2; ++used) {
    int forced = maxCode < 2 ? ++maxCode : 0;
    keys[used] = uint64_t(1) << 16 | uint32_t(forced);
  }
  std::sort(keys, keys + used);
  for (int k = 0; k < used; ++k) {
    lightestFirst[k] = uint16_t(keys[k]);
    weights[k] = uint32_t(keys[k] >> 16);
  }
  return used;
}

// Huffman's merges with two queues: the sorted leaves, and the merged nodes,
// which are made in the order of their weights. On equal weights the leaf
// goes first, which keeps the tree flat. Fills each leaf's depth.
void MergeDepths(const uint32_t* leafWeight, int leaves, uint16_t* leafDepth) {
  uint32_t nodeWeight[kMaxSymbols];
  uint16_t nodeParent[kMaxSymbols];
  uint16_t leafParent[kMaxSymbols];
  int nextLeaf = 0, nextNode = 0, made = 0;
  // The lightest waiting item becomes a child of node `made`.
  auto takeLightest = [&]() {
    if (nextLeaf < leaves && (nextNode == made || leafWeight[nextLeaf] <= nodeWeight[nextNode])) {
      leafParent[nextLeaf] = uint16_t(made);
      return leafWeight[nextLeaf++];
    }
    nodeParent[nextNode] = uint16_t(made);
    return nodeWeight[nextNode++];
  };
  for (; made < leaves - 1; ++made) {
    uint32_t first = takeLightest();
    nodeWeight[made] = first + takeLightest();
  }
  // A node's parent is always made after it: depths from the root down.
  uint16_t nodeDepth[kMaxSymbols];
  nodeDepth[made - 1] = 0;
  for (int node = made - 2; node >= 0; --node) nodeDepth[node] = uint16_t(nodeDepth[nodeParent[node]] + 1);
  for (int leaf = 0; leaf < leaves; ++leaf) leafDepth[leaf] = uint16_t(nodeDepth[leafParent[leaf]] + 1);
}

}  // namespace

int BuildCodeLengths(const uint32_t* freq, int count, int maxBits, uint8_t* lengths) {
  uint16_t lightestFirst[kMaxSymbols];
  uint32_t weights[kMaxSymbols];
  int maxCode;
  const int leaves = SortLeaves(freq, count, lightestFirst, weights, maxCode);
  uint16_t depth[kMaxSymbols];
  MergeDepths(weights, leaves, depth);

  std::fill(lengths, lengths + count, uint8_t(0));
  uint16_t countPerLength[kMaxCodeBits + 1] = {};
  bool overflow = false;
  for (int k = 0; k < leaves; ++k) {
    int length = std::min<int>(depth[k], maxBits);
    overflow |= depth[k] > maxBits;
    lengths[lightestFirst[k]] = uint8_t(length);
    ++countPerLength[length];
  }
  if (overflow) {
    LimitLengths(countPerLength, maxBits);
    int k = 0;
    for (int bits = maxBits; bits > 0; --bits)
      for (int n = countPerLength[bits]; n > 0; --n) lengths[lightestFirst[k++]] = uint8_t(bits);
  }
  return maxCode;
}
