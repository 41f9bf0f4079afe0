// SHA-256 (FIPS 180-4), computed as the bytes go by, so that a file's digest comes with its copy
// and is never read twice. Uses the processor's SHA instructions where it has them (most since
// 2017): the installation's record keeps a digest of every file it writes, and hashing at the
// speed of copying keeps a deployment close to a plain copy. Pure code: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
   public:
    Sha256();
    void update(const void* data, std::size_t size);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string finishHex();

    // Whether the processor's SHA instructions are used (for tests and benchmarks).
    static bool usesProcessorInstructions();
    // Tests compare both ways of hashing: this forces the portable one (false) or the default.
    static void preferProcessorInstructions(bool prefer);

   private:
    void compress(const std::uint8_t* blocks, std::size_t count);

    std::uint32_t state_[8];
    std::uint8_t pending_[64];
    std::size_t pendingSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};
