// SHA-256; see Sha256.h.
#include "framework/Sha256.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define SHA256_WITH_PROCESSOR_INSTRUCTIONS 1
#endif

namespace {

const std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

const std::uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

std::uint32_t rotateRight(std::uint32_t value, int bits) { return (value >> bits) | (value << (32 - bits)); }

std::uint32_t bigEndianWord(const std::uint8_t* bytes) {
    return (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
           (std::uint32_t(bytes[2]) << 8) | bytes[3];
}

void compressPortably(std::uint32_t* state, const std::uint8_t* blocks, std::size_t count) {
    for (; count > 0; --count, blocks += 64) {
        std::uint32_t w[64];
        for (int t = 0; t < 16; ++t) w[t] = bigEndianWord(blocks + 4 * t);
        for (int t = 16; t < 64; ++t) {
            std::uint32_t s0 = rotateRight(w[t - 15], 7) ^ rotateRight(w[t - 15], 18) ^ (w[t - 15] >> 3);
            std::uint32_t s1 = rotateRight(w[t - 2], 17) ^ rotateRight(w[t - 2], 19) ^ (w[t - 2] >> 10);
            w[t] = w[t - 16] + s0 + w[t - 7] + s1;
        }
        std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int t = 0; t < 64; ++t) {
            std::uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
            std::uint32_t choice = (e & f) ^ (~e & g);
            std::uint32_t t1 = h + s1 + choice + kRoundConstants[t] + w[t];
            std::uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
            std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + s0 + majority;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

#ifdef SHA256_WITH_PROCESSOR_INSTRUCTIONS

bool processorHasShaInstructions() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    const bool ssse3 = ecx & (1u << 9), sse41 = ecx & (1u << 19);
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return ssse3 && sse41 && (ebx & (1u << 29));
}

// The SHA extensions keep the state as two vectors, ABEF and CDGH, and take four message words
// (plus their round constants) per pair of sha256rnds2 calls. The message schedule of rounds 16
// to 63 is built four words at a time from the four vectors before: sha256msg1 adds the
// sigma0 terms, an alignr the W[t-7] terms, sha256msg2 the sigma1 terms.
__attribute__((target("sha,sse4.1,ssse3"))) void compressWithShaInstructions(std::uint32_t* state,
                                                                             const std::uint8_t* blocks,
                                                                             std::size_t count) {
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
    __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (; count > 0; --count, blocks += 64) {
        const __m128i abefBefore = abef, cdghBefore = cdgh;
        __m128i message[4];
        for (int group = 0; group < 4; ++group)
            message[group] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * group)), byteSwap);
            // Unrolled, so that the four message vectors stay in registers.
#pragma GCC unroll 16
        for (int group = 0; group < 16; ++group) {
            const __m128i& words = message[group % 4];
            __m128i roundInput = _mm_add_epi32(
                words, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&kRoundConstants[4 * group])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, roundInput);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(roundInput, 0x0E));
            // The next group's words, from this group's and the one before (still whole here).
            if (group >= 3 && group <= 14) {
                __m128i& next = message[(group + 1) % 4];
                next = _mm_add_epi32(next, _mm_alignr_epi8(words, message[(group + 3) % 4], 4));
                next = _mm_sha256msg2_epu32(next, words);
            }
            // The group three ahead starts from the one before this and this one.
            if (group >= 1 && group <= 12) {
                __m128i& earlier = message[(group + 3) % 4];
                earlier = _mm_sha256msg1_epu32(earlier, words);
            }
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

#endif

bool preferred = true;

}  // namespace

Sha256::Sha256() { std::memcpy(state_, kInitialState, sizeof state_); }

bool Sha256::usesProcessorInstructions() {
#ifdef SHA256_WITH_PROCESSOR_INSTRUCTIONS
    static const bool available = processorHasShaInstructions();
    return preferred && available;
#else
    return false;
#endif
}

void Sha256::preferProcessorInstructions(bool prefer) { preferred = prefer; }

void Sha256::compress(const std::uint8_t* blocks, std::size_t count) {
#ifdef SHA256_WITH_PROCESSOR_INSTRUCTIONS
    if (usesProcessorInstructions()) return compressWithShaInstructions(state_, blocks, count);
#endif
    compressPortably(state_, blocks, count);
}

void Sha256::update(const void* data, std::size_t size) {
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
    totalBytes_ += size;
    if (pendingSize_ > 0) {
        std::size_t taken = size < 64 - pendingSize_ ? size : 64 - pendingSize_;
        std::memcpy(pending_ + pendingSize_, bytes, taken);
        pendingSize_ += taken;
        bytes += taken;
        size -= taken;
        if (pendingSize_ < 64) return;
        compress(pending_, 1);
        pendingSize_ = 0;
    }
    compress(bytes, size / 64);
    std::memcpy(pending_, bytes + size / 64 * 64, size % 64);
    pendingSize_ = size % 64;
}

std::string Sha256::finishHex() {
    const std::uint64_t bits = totalBytes_ * 8;
    const std::uint8_t one = 0x80, zero = 0;
    update(&one, 1);
    while (pendingSize_ != 56) update(&zero, 1);
    std::uint8_t length[8];
    for (int i = 0; i < 8; ++i) length[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    update(length, 8);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint32_t word : state_) {
        for (int shift = 28; shift >= 0; shift -= 4) hex += digits[(word >> shift) & 15];
    }
    return hex;
}
