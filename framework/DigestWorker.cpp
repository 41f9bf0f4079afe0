// The digest thread; see DigestWorker.h.
#include "framework/DigestWorker.h"

#include <windows.h>

#include <deque>
#include <vector>

#include "framework/Sha256.h"

struct PendingDigest::State {
    Sha256 hash;
    unsigned long long size = 0;
    bool done = false;
    std::string text;
};

namespace {

// Enough for the copy to run a few chunks ahead of the digest thread.
constexpr int kBuffers = 4;

// One chunk to hash, or (buffer null) the end of a digest's bytes.
struct Task {
    std::shared_ptr<PendingDigest::State> state;
    char* buffer;
    unsigned long size;
};

class DigestThread {
   public:
    // Started on first use, and never taken down: a process that ends stops it where it waits.
    // (Made with new and never deleted, so that nothing of it is destroyed while the process's
    // own destructors run and the thread may still be at work.)
    static DigestThread& get() {
        static DigestThread* const thread = new DigestThread;
        return *thread;
    }

    char* takeBuffer() {
        AcquireSRWLockExclusive(&lock_);
        while (free_.empty()) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        char* buffer = free_.back();
        free_.pop_back();
        ReleaseSRWLockExclusive(&lock_);
        return buffer;
    }

    void giveBack(char* buffer) {
        AcquireSRWLockExclusive(&lock_);
        free_.push_back(buffer);
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    // Without a thread (it could not be started), the task is done at once, here.
    void queue(Task task) {
        if (!running_) return work(task);
        AcquireSRWLockExclusive(&lock_);
        tasks_.push_back(std::move(task));
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    std::string wait(const PendingDigest::State& state) {
        AcquireSRWLockExclusive(&lock_);
        while (!state.done) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        std::string text = state.text;
        ReleaseSRWLockExclusive(&lock_);
        return text;
    }

   private:
    DigestThread() : storage_(kBuffers, std::vector<char>(DigestHandover::kChunkBytes)) {
        for (std::vector<char>& buffer : storage_) free_.push_back(buffer.data());
        HANDLE thread = CreateThread(nullptr, 0, &DigestThread::run, this, 0, nullptr);
        running_ = thread != nullptr;
        if (thread) CloseHandle(thread);
    }

    static DWORD WINAPI run(void* self) {
        static_cast<DigestThread*>(self)->serve();
        return 0;
    }

    void serve() {
        for (;;) {
            AcquireSRWLockExclusive(&lock_);
            while (tasks_.empty()) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            Task task = std::move(tasks_.front());
            tasks_.pop_front();
            ReleaseSRWLockExclusive(&lock_);
            work(task);
        }
    }

    // Only this thread touches a digest's hash until it is done.
    void work(const Task& task) {
        PendingDigest::State& state = *task.state;
        if (task.buffer) {
            state.hash.update(task.buffer, task.size);
            state.size += task.size;
            return giveBack(task.buffer);
        }
        std::string text = std::to_string(state.size) + " " + state.hash.finishHex();
        AcquireSRWLockExclusive(&lock_);
        state.text = std::move(text);
        state.done = true;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;  // a task, a buffer or a digest is there
    std::deque<Task> tasks_;
    std::vector<std::vector<char>> storage_;
    std::vector<char*> free_;
    bool running_ = false;
};

}  // namespace

std::string PendingDigest::wait() const { return state_ ? DigestThread::get().wait(*state_) : std::string(); }

DigestHandover::DigestHandover() : state_(std::make_shared<PendingDigest::State>()) {}

DigestHandover::~DigestHandover() {
    if (buffer_) DigestThread::get().giveBack(buffer_);
}

char* DigestHandover::buffer() {
    if (!buffer_) buffer_ = DigestThread::get().takeBuffer();
    return buffer_;
}

void DigestHandover::hand(unsigned long size) {
    DigestThread::get().queue({state_, buffer(), size});
    buffer_ = nullptr;
}

PendingDigest DigestHandover::finish() {
    DigestThread::get().queue({state_, nullptr, 0});
    PendingDigest digest;
    digest.state_ = state_;
    return digest;
}
