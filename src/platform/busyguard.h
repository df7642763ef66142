#pragma once

#include "platform/busycursor.h"

// Shows the busy pointer for a scope; release() gives it back earlier, for
// instance before a message.
class BusyGuard {
public:
    explicit BusyGuard(BusyCursor &busy) : m_busy(&busy) { m_busy->push(); }
    ~BusyGuard() { release(); }
    void release()
    {
        if (m_busy) m_busy->pop();
        m_busy = nullptr;
    }
    BusyGuard(const BusyGuard &) = delete;
    BusyGuard &operator=(const BusyGuard &) = delete;

private:
    BusyCursor *m_busy;
};
