#include "Aes.h"

namespace {

inline uint32_t RotateRight8(uint32_t w) { return (w >> 8) | (w << 24); }

inline uint32_t LoadBigEndian(const uint8_t *p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

inline void StoreBigEndian(uint8_t *p, uint32_t w) {
  p[0] = uint8_t(w >> 24);
  p[1] = uint8_t(w >> 16);
  p[2] = uint8_t(w >> 8);
  p[3] = uint8_t(w);
}

inline uint8_t Byte(uint32_t w, int n) { return uint8_t(w >> (24 - 8 * n)); }

// Multiplication in GF(2^8) through the power and logarithm tables of generator 3.
struct FieldTables {
  uint8_t power[256];
  uint8_t log[256];
};

uint8_t FieldMultiply(const FieldTables &f, uint8_t a, uint8_t b) {
  if (a == 0 || b == 0) return 0;
  return f.power[(f.log[a] + f.log[b]) % 255];
}

// The four rotations of one table word placed first in byte 0.
void FillRotations(uint32_t table[4][256], int index, uint32_t word) {
  for (int r = 0; r < 4; ++r) {
    table[r][index] = word;
    word = RotateRight8(word);
  }
}

uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return (uint32_t(b0) << 24) | (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3;
}

uint32_t SubWord(const AesTableSet *t, uint32_t w) {
  return t->forwardLast[0][Byte(w, 0)] ^ t->forwardLast[1][Byte(w, 1)] ^ t->forwardLast[2][Byte(w, 2)] ^
         t->forwardLast[3][Byte(w, 3)];
}

// Key length in 32-bit words, or 0 when the length is neither bytes nor bits of an AES key.
uint32_t KeyWords(uint32_t keyLength) {
  switch (keyLength) {
    case 16: case 24: case 32: return keyLength / 4;
    case 128: case 192: case 256: return keyLength / 32;
    default: return 0;
  }
}

// FIPS-197 key expansion into the schedule; returns the number of rounds.
uint32_t ExpandKey(const uint8_t *key, uint32_t words, AesKeySchedule *s) {
  const AesTableSet *t = s->tables;
  const uint32_t rounds = words + 6;
  const uint32_t total = 4 * (rounds + 1);
  uint32_t *w = s->roundKeys;
  for (uint32_t i = 0; i < words; ++i) w[i] = LoadBigEndian(key + 4 * i);
  for (uint32_t i = words; i < total; ++i) {
    uint32_t temp = w[i - 1];
    if (i % words == 0)
      temp = SubWord(t, (temp << 8) | (temp >> 24)) ^ t->roundConstants[i / words - 1];
    else if (words > 6 && i % words == 4)
      temp = SubWord(t, temp);
    w[i] = w[i - words] ^ temp;
  }
  return rounds;
}

uint32_t InverseMixWord(const AesTableSet *t, uint32_t w) {
  return t->inverseMix[0][Byte(w, 0)] ^ t->inverseMix[1][Byte(w, 1)] ^ t->inverseMix[2][Byte(w, 2)] ^
         t->inverseMix[3][Byte(w, 3)];
}

// Round keys of the equivalent inverse cipher: order reversed by round,
// InvMixColumns on every round key but the first and the last.
void InvertSchedule(AesKeySchedule *s) {
  uint32_t *w = s->roundKeys;
  for (uint32_t i = 0, j = 4 * s->rounds; i < j; i += 4, j -= 4)
    for (int k = 0; k < 4; ++k) {
      uint32_t x = w[i + k];
      w[i + k] = w[j + k];
      w[j + k] = x;
    }
  for (uint32_t i = 4; i < 4 * s->rounds; ++i) w[i] = InverseMixWord(s->tables, w[i]);
}

int KeySetup(const uint8_t *key, uint32_t keyLength, AesKeySchedule *s, AesTableSet *tables, uint32_t direction) {
  s->direction = kAesBlockLength;
  s->rounds = 0;
  if (tables == nullptr) return 0;
  s->tables = tables;
  if (!tables->built) AesBuildTables(s, tables);
  const uint32_t words = KeyWords(keyLength);
  if (words == 0) {
    s->rounds = 0;
    return 0;
  }
  s->direction = kAesBlockLength | direction;
  s->rounds = ExpandKey(key, words, s);
  if (direction == kAesDecrypts) InvertSchedule(s);
  return 1;
}

// One round of the four-table formulation: each output column takes one byte
// from each input column, the columns stepping forward for the cipher (ShiftRows)
// and backward for the inverse cipher. The last round runs the same pattern over
// the S-box-only tables.
#define AES_ROUND(T, s0, s1, s2, s3, o0, o1, o2, o3, rk)                                     \
  do {                                                                                       \
    o0 = T[0][Byte(s0, 0)] ^ T[1][Byte(s1, 1)] ^ T[2][Byte(s2, 2)] ^ T[3][Byte(s3, 3)] ^ (rk)[0]; \
    o1 = T[0][Byte(s1, 0)] ^ T[1][Byte(s2, 1)] ^ T[2][Byte(s3, 2)] ^ T[3][Byte(s0, 3)] ^ (rk)[1]; \
    o2 = T[0][Byte(s2, 0)] ^ T[1][Byte(s3, 1)] ^ T[2][Byte(s0, 2)] ^ T[3][Byte(s1, 3)] ^ (rk)[2]; \
    o3 = T[0][Byte(s3, 0)] ^ T[1][Byte(s0, 1)] ^ T[2][Byte(s1, 2)] ^ T[3][Byte(s2, 3)] ^ (rk)[3]; \
  } while (0)

#define AES_INV_ROUND(T, s0, s1, s2, s3, o0, o1, o2, o3, rk)                                 \
  do {                                                                                       \
    o0 = T[0][Byte(s0, 0)] ^ T[1][Byte(s3, 1)] ^ T[2][Byte(s2, 2)] ^ T[3][Byte(s1, 3)] ^ (rk)[0]; \
    o1 = T[0][Byte(s1, 0)] ^ T[1][Byte(s0, 1)] ^ T[2][Byte(s3, 2)] ^ T[3][Byte(s2, 3)] ^ (rk)[1]; \
    o2 = T[0][Byte(s2, 0)] ^ T[1][Byte(s1, 1)] ^ T[2][Byte(s0, 2)] ^ T[3][Byte(s3, 3)] ^ (rk)[2]; \
    o3 = T[0][Byte(s3, 0)] ^ T[1][Byte(s2, 1)] ^ T[2][Byte(s1, 2)] ^ T[3][Byte(s0, 3)] ^ (rk)[3]; \
  } while (0)

// Rounds go in pairs through two register sets, so the loop body is two
// unrolled rounds and the 10-, 12- and 14-round cases share it.
template <bool kInverse>
void Cipher(const uint8_t in[16], uint8_t out[16], const AesKeySchedule *s) {
  const AesTableSet *t = s->tables;
  const uint32_t (*round)[256] = kInverse ? t->inverse : t->forward;
  const uint32_t (*last)[256] = kInverse ? t->inverseLast : t->forwardLast;
  const uint32_t *rk = s->roundKeys;
  uint32_t s0 = LoadBigEndian(in) ^ rk[0], s1 = LoadBigEndian(in + 4) ^ rk[1];
  uint32_t s2 = LoadBigEndian(in + 8) ^ rk[2], s3 = LoadBigEndian(in + 12) ^ rk[3];
  uint32_t t0, t1, t2, t3;
  for (uint32_t r = 1;; r += 2) {
    rk += 4;
    if (kInverse) AES_INV_ROUND(round, s0, s1, s2, s3, t0, t1, t2, t3, rk);
    else AES_ROUND(round, s0, s1, s2, s3, t0, t1, t2, t3, rk);
    rk += 4;
    if (r + 1 == s->rounds) break;
    if (kInverse) AES_INV_ROUND(round, t0, t1, t2, t3, s0, s1, s2, s3, rk);
    else AES_ROUND(round, t0, t1, t2, t3, s0, s1, s2, s3, rk);
  }
  if (kInverse) AES_INV_ROUND(last, t0, t1, t2, t3, s0, s1, s2, s3, rk);
  else AES_ROUND(last, t0, t1, t2, t3, s0, s1, s2, s3, rk);
  StoreBigEndian(out, s0);
  StoreBigEndian(out + 4, s1);
  StoreBigEndian(out + 8, s2);
  StoreBigEndian(out + 12, s3);
}

#undef AES_ROUND
#undef AES_INV_ROUND

}  // namespace

void AesBuildTables(AesKeySchedule *schedule, AesTableSet *t) {
  FieldTables f;
  uint8_t x = 1;
  for (int i = 0; i < 255; ++i) {
    f.power[i] = x;
    f.log[x] = uint8_t(i);
    x ^= uint8_t((x << 1) ^ ((x & 0x80) ? 0x1B : 0));
  }
  f.power[255] = 1;
  f.log[0] = 0;

  uint8_t rc = 1;
  for (int i = 0; i < 10; ++i) {
    t->roundConstants[i] = uint32_t(rc) << 24;
    rc = uint8_t((rc << 1) ^ ((rc & 0x80) ? 0x1B : 0));
  }

  uint8_t sbox[256], inverseSbox[256];
  for (int i = 0; i < 256; ++i) {
    uint8_t inv = i ? f.power[255 - f.log[i]] : 0;
    uint8_t s = inv;
    for (int k = 1; k < 5; ++k) s ^= uint8_t((inv << k) | (inv >> (8 - k)));
    s ^= 0x63;
    sbox[i] = s;
    inverseSbox[s] = uint8_t(i);
  }
  for (int i = 0; i < 256; ++i) {
    const uint8_t s = sbox[i], v = inverseSbox[i];
    FillRotations(t->forward, i, Word(FieldMultiply(f, s, 2), s, s, FieldMultiply(f, s, 3)));
    FillRotations(t->forwardLast, i, Word(s, 0, 0, 0));
    FillRotations(t->inverse, i,
                  Word(FieldMultiply(f, v, 14), FieldMultiply(f, v, 9), FieldMultiply(f, v, 13), FieldMultiply(f, v, 11)));
    FillRotations(t->inverseLast, i, Word(v, 0, 0, 0));
  }
  // InvMixColumns of a lone byte: the inverse round table undoes the S-box it applies.
  for (int i = 0; i < 256; ++i)
    for (int r = 0; r < 4; ++r) t->inverseMix[r][i] = t->inverse[r][sbox[i]];
  t->built = 1;
  if (schedule->tables == nullptr) schedule->tables = t;
}

int AesEncryptKey(const uint8_t *key, uint32_t keyLength, AesKeySchedule *schedule, AesTableSet *tables) {
  return KeySetup(key, keyLength, schedule, tables, kAesEncrypts);
}

int AesDecryptKey(const uint8_t *key, uint32_t keyLength, AesKeySchedule *schedule, AesTableSet *tables) {
  return KeySetup(key, keyLength, schedule, tables, kAesDecrypts);
}

int AesEncryptBlock(const uint8_t in[16], uint8_t out[16], const AesKeySchedule *schedule) {
  if (!(schedule->direction & kAesEncrypts) || schedule->rounds == 0) return 0;
  Cipher<false>(in, out, schedule);
  return 1;
}

int AesDecryptBlock(const uint8_t in[16], uint8_t out[16], const AesKeySchedule *schedule) {
  if (!(schedule->direction & kAesDecrypts) || schedule->rounds == 0) return 0;
  Cipher<true>(in, out, schedule);
  return 1;
}
