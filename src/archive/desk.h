#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace archive {

// A copy of the program that writes in a working folder: the computer and
// the user it runs for, its process, and a token that no other copy shares.
// Several desks write in one folder at once; each change takes the folder's
// change lock for as long as it is checked and committed.
struct Desk {
    QString host, user;
    qint64 pid = 0; // names the desk's file
    QByteArray token;
    // The process that runs it: pid, but for a helper process that works
    // for the desk of its parent (tests).
    qint64 process = 0;

    // This copy of the program.
    static const Desk &current();
    // Another desk of this process (several desks in one process are only
    // made by tests): the same computer, user and process, its own token.
    static Desk another(const QString &suffix);

    // For the names of the desk's own files: the computer's name in plain
    // letters, digits and "-", then the process, and the suffix of another().
    QString id() const;
    // The computer's name as id() gives it.
    QString hostId() const;
    // For messages: "PC-SALA (utente rossi)".
    QString name() const;
    bool sameComputer(const Desk &other) const;
    bool sameDesk(const Desk &other) const { return token == other.token; }
    // Whether the desk may still run: on this computer its process is
    // there; another computer's desks cannot be seen from here (true).
    bool mayRun() const;

    // One line for the desk's files: "postazione", then computer, user,
    // process, token and id, separated by tabs.
    QByteArray line() const;
    static std::optional<Desk> fromLine(const QByteArray &line);

    QString suffix; // of another()
};

} // namespace archive
