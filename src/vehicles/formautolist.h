#pragma once

#include "registers/pairlist.h"

// The vehicle lists: general, of one association, search by description,
// and the general list from which an activity picks a vehicle (GA).
class Formautolist : public registers::PairList {
    Q_OBJECT
public:
    explicit Formautolist(Context &ctx);
};
