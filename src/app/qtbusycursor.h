#pragma once

#include "platform/busycursor.h"

class QtBusyCursor : public BusyCursor {
public:
    void push() override;
    void pop() override;
};
