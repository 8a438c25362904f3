#include "platform/temporary_files.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/platform.h"

namespace rizari::platform::temporary_files {

namespace {

// One entry of a list that only grows: entries are reused, never freed, so a reader in a signal
// handler never follows a dangling pointer. Its state says who may touch the path.
enum State : int { Free, Writing, Live };

struct Entry {
    std::atomic<int> state{Writing};
    std::atomic<Entry*> next{nullptr};
    std::size_t capacity = 0;
    char* path = nullptr;  // capacity bytes, terminated
    Kind kind = Kind::File;  // written and read only by the holder of the Writing state
};

std::atomic<Entry*> head{nullptr};
// Serialises add and forget between threads; removeAll never takes it.
std::mutex changing;

// The entries go with the library (when the program ends or the module is unloaded).
struct ReleaseEntries {
    ~ReleaseEntries()
    {
        for (Entry* e = head.exchange(nullptr); e;) {
            Entry* next = e->next.load();
            std::free(e->path);
            delete e;
            e = next;
        }
    }
} releaseEntries;

// Claims a free entry whose path fits, else makes a new one.
Entry* claim(std::size_t length) noexcept
{
    for (Entry* e = head.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        int expected = Free;
        if (e->capacity > length && e->state.compare_exchange_strong(expected, Writing, std::memory_order_acq_rel))
            return e;
    }
    Entry* e = new (std::nothrow) Entry;
    char* path = static_cast<char*>(std::malloc(length + 1));
    if (!e || !path) {
        delete e;
        std::free(path);
        return nullptr;
    }
    e->capacity = length + 1;
    e->path = path;
    Entry* first = head.load(std::memory_order_relaxed);
    do {
        e->next.store(first, std::memory_order_relaxed);
    } while (!head.compare_exchange_weak(first, e, std::memory_order_release, std::memory_order_relaxed));
    return e;
}

}  // namespace

bool add(std::string_view path, Kind kind) noexcept
{
    std::lock_guard<std::mutex> lock(changing);
    Entry* e = claim(path.size());
    if (!e) return false;
    std::memcpy(e->path, path.data(), path.size());
    e->path[path.size()] = '\0';
    e->kind = kind;
    e->state.store(Live, std::memory_order_release);
    return true;
}

void forget(std::string_view path) noexcept
{
    std::lock_guard<std::mutex> lock(changing);
    for (Entry* e = head.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
        if (e->state.load(std::memory_order_acquire) != Live || path != e->path) continue;
        int expected = Live;
        if (e->state.compare_exchange_strong(expected, Writing, std::memory_order_acq_rel)) {
            e->state.store(Free, std::memory_order_release);
            return;
        }
    }
}

void removeAll() noexcept
{
    // The files first: a folder goes only once it is empty.
    for (const Kind kind : {Kind::File, Kind::Folder}) {
        for (Entry* e = head.load(std::memory_order_acquire); e; e = e->next.load(std::memory_order_acquire)) {
            int expected = Live;
            if (!e->state.compare_exchange_strong(expected, Writing, std::memory_order_acq_rel)) continue;
            if (e->kind != kind) {
                e->state.store(Live, std::memory_order_release);
                continue;
            }
            if (kind == Kind::File) unlinkNow(e->path);
            else removeFolderNow(e->path);
            e->state.store(Free, std::memory_order_release);
        }
    }
}

}  // namespace rizari::platform::temporary_files
