// CxSysMsgQueue: per-process named queues kept in a registry by name.
#include "CxSysMsgQueue.h"
#include <stdlib.h>
#include <string.h>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct CxSysMsgQueue::Queue {
    struct Message {
        std::vector<unsigned char> bytes;
        unsigned long flags;
    };
    std::mutex lock;
    std::condition_variable arrived;
    std::deque<Message> messages;
    unsigned long capacity = 1;
};

namespace {

// The queues by name, held weakly: a queue ends with the last object that holds it, and the
// entries of ended queues are swept when the next object is made.
struct Registry {
    std::mutex lock;
    std::map<std::wstring, std::weak_ptr<CxSysMsgQueue::Queue>> queues;
};

Registry& registry() {
    static Registry r;
    return r;
}

} // namespace

CxSysMsgQueue::CxSysMsgQueue(const wchar_t* name, unsigned long capacity, unsigned long /*flags*/) {
    Registry& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    for (auto it = r.queues.begin(); it != r.queues.end();) it = it->second.expired() ? r.queues.erase(it) : std::next(it);
    std::weak_ptr<Queue>& entry = r.queues[name ? name : L""];
    m_pQueue = entry.lock();
    if (!m_pQueue) {
        m_pQueue = std::make_shared<Queue>();
        m_pQueue->capacity = capacity ? capacity : 1;
        entry = m_pQueue;
    }
}

CxSysMsgQueue::~CxSysMsgQueue() = default;

BOOL CxSysMsgQueue::InsertMessage(const void* data, unsigned long size, unsigned long flags, MSGQUEUE_INFO* info) {
    if (!data && size) return FALSE;
    Queue& q = *m_pQueue;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (q.messages.size() >= q.capacity) return FALSE;
        const auto* p = static_cast<const unsigned char*>(data);
        q.messages.push_back(Queue::Message{std::vector<unsigned char>(p, p + size), flags});
        if (info) *info = MSGQUEUE_INFO{size, flags, static_cast<unsigned long>(q.messages.size())};
    }
    q.arrived.notify_one();
    return TRUE;
}

void* CxSysMsgQueue::GetMessage(DWORD timeoutMs, MSGQUEUE_INFO* info, int bRemove) {
    Queue& q = *m_pQueue;
    std::unique_lock<std::mutex> guard(q.lock);
    auto ready = [&] { return !q.messages.empty(); };
    if (timeoutMs == INFINITE) q.arrived.wait(guard, ready);
    else if (!q.arrived.wait_for(guard, std::chrono::milliseconds(timeoutMs), ready)) return nullptr;

    const Queue::Message& m = q.messages.front();
    void* out = malloc(m.bytes.empty() ? 1 : m.bytes.size());
    if (!out) return nullptr;
    if (!m.bytes.empty()) memcpy(out, m.bytes.data(), m.bytes.size());
    if (info) *info = MSGQUEUE_INFO{static_cast<unsigned long>(m.bytes.size()), m.flags, 0};
    if (bRemove) q.messages.pop_front();
    if (info) info->dwRemaining = static_cast<unsigned long>(q.messages.size() - (bRemove ? 0 : 1));
    return out;
}

void CxSysMsgQueue::FreeMessage(void* message) { free(message); }

unsigned long CxSysMsgQueue::GetCount() const {
    std::lock_guard<std::mutex> guard(m_pQueue->lock);
    return static_cast<unsigned long>(m_pQueue->messages.size());
}
