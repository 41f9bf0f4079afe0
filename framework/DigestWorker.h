// SHA-256 digests worked out on a thread of their own while the copies they are of go on: a
// copy hands each chunk it has written to the digest thread and goes on to the next chunk, or
// the next file, meanwhile. On a machine with two cores a digest then costs next to nothing of
// the copy's time. A few chunk buffers go round between the copy and the digest thread; a copy
// waits for one only when the digest thread is that far behind.
#pragma once

#include <memory>
#include <string>

// The digest of bytes being handed to the digest thread; "size hex" as digestOf gives it.
class PendingDigest {
   public:
    // Whether there is a digest to wait for (a copy that failed or never ran leaves none).
    bool pending() const { return state_ != nullptr; }
    // Waits until every byte handed over has been hashed.
    std::string wait() const;

    struct State;

   private:
    friend class DigestHandover;
    std::shared_ptr<State> state_;
};

// One copy's side of the handover: buffers to fill, then given to the digest thread in order.
class DigestHandover {
   public:
    static constexpr unsigned long kChunkBytes = 1 << 20;

    DigestHandover();
    ~DigestHandover();
    DigestHandover(const DigestHandover&) = delete;
    DigestHandover& operator=(const DigestHandover&) = delete;

    // A buffer of kChunkBytes to fill; waits while the digest thread holds them all.
    char* buffer();
    // The buffer's first size bytes are the copy's next bytes: hashed, then the buffer goes back.
    void hand(unsigned long size);
    // Every byte has been handed over: the digest of them all.
    PendingDigest finish();

   private:
    std::shared_ptr<PendingDigest::State> state_;
    char* buffer_ = nullptr;
};
