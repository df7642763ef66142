#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise stops a fuzz run at once, saying which one. Included
// after every other header: `check` is a name there too.
inline void failedCheck(const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed\n", file, line);
    std::abort();
}
#define check(ok) ((ok) ? (void)0 : failedCheck(__FILE__, __LINE__))
