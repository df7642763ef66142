#pragma once

#include "platform/clock.h"

#include <QDateTime>

class QtClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
