#pragma once

#include "registers/pairlist.h"

// The equipment lists: general, of one association, search by description,
// and the general list from which an activity picks equipment (GA).
class Formattrlist : public registers::PairList {
    Q_OBJECT
public:
    explicit Formattrlist(Context &ctx);
};
