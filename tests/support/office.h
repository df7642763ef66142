#pragma once

#include "testkit.h"
#include "ui/windows.h"

#include <memory>

// A test folder with a registry of windows, as the program has them.
class TestOffice : public TestFolder {
public:
    TestOffice() : windows(std::make_unique<Windows>(ctx)) {}
    ~TestOffice() { windows.reset(); }

    // Makes `w` the active window as the user would by coming to it from
    // another window of the program (runs its activation work).
    void activate(QWidget *w);

    std::unique_ptr<Windows> windows;
};
