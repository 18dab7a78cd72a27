// CxSysMsgQueue: a named, bounded FIFO of byte messages inside one process.
//
// Every object opened with the same name in a process reaches the same queue; the queue
// lives while any object of its name does. Messages are copied in; GetMessage hands out a
// copy that the caller releases with FreeMessage.
#pragma once
#include <windows.h>
#include <memory>
#include "basekit_api.h"

struct MSGQUEUE_INFO {
    unsigned long dwSize;       // bytes of the message
    unsigned long dwFlags;      // the flags it was inserted with
    unsigned long dwRemaining;  // messages left in the queue after this one
};

class BASEKIT_API CxSysMsgQueue {
public:
    // capacity: most messages held at once (at least 1); flags: reserved, kept as given.
    CxSysMsgQueue(const wchar_t* name, unsigned long capacity, unsigned long flags);
    ~CxSysMsgQueue();
    CxSysMsgQueue(const CxSysMsgQueue&) = delete;
    CxSysMsgQueue& operator=(const CxSysMsgQueue&) = delete;

    // Appends a copy of size bytes. False when the queue is full (nothing is added) or
    // data is null with a non-zero size. info, when not null, receives the queue state.
    BOOL InsertMessage(const void* data, unsigned long size, unsigned long flags, MSGQUEUE_INFO* info);
    // The oldest message, waiting up to timeoutMs for one (INFINITE allowed). bRemove 0
    // leaves it in the queue. Null when none came; else a buffer for FreeMessage.
    void* GetMessage(DWORD timeoutMs, MSGQUEUE_INFO* info, int bRemove);
    static void FreeMessage(void* message);

    unsigned long GetCount() const;

    struct Queue;      // opaque; one per name in the process

private:
    std::shared_ptr<Queue> m_pQueue;   // shared by every object of the name
};
