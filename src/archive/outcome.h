#pragma once

#include "archive/io.h"

#include <QString>

// What an operation on the archives reports: a register operation, the
// registration of an activity, a resource taken or given back.
namespace archive {

struct RewriteOutcome;

struct Outcome {
    enum Status {
        Done,
        Duplicate,  // the key is already in the archive; nothing written
        NotFound,   // no record has the key; nothing written
        OutOfRange, // a whole number would leave -32768..32767; nothing written
        Refused,    // the records forbid it (see `reason`); nothing written
        Failed,     // a file could not be read or written (see `io`)
    };
    Status status = Done;
    IoResult io;    // for Failed
    QString reason; // for Refused and OutOfRange, when the operation tells why

    bool done() const { return status == Done; }
    static Outcome with(Status s)
    {
        Outcome o;
        o.status = s;
        return o;
    }
    static Outcome refused(Status s, const QString &why)
    {
        Outcome o = with(s);
        o.reason = why;
        return o;
    }
    static Outcome failed(const IoResult &io)
    {
        Outcome o = with(Failed);
        o.io = io;
        return o;
    }
};

// A rewrite that was aborted found a duplicate key while copying.
Outcome fromRewrite(const RewriteOutcome &o);

// The user's message for an outcome that did not end well: the caller's
// own text for a duplicate key or a missing record, the reason of a refusal
// or of a number out of range (a general one when there is none), the file's message for a failure. Empty when it ended well.
QString messageOf(const Outcome &o, const QString &duplicate = {}, const QString &notFound = {});

} // namespace archive
