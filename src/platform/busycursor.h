#pragma once

class BusyCursor {
public:
    virtual ~BusyCursor() = default;
    virtual void push() = 0;
    virtual void pop() = 0;
};
