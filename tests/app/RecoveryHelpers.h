// What the recovery tests share: levels to keep copies of, writers that have gone, and the
// ids of a store's entries.

#pragma once

#include "shell/RecoveryStore.h"
#include "support/LevelBytes.h"

#include <QString>
#include <QStringList>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace krav::recovery_test {

using test::Bytes;

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A writer that has exited (and been reaped) before anyone looks at its copies.
inline RecoveryStore::Writer GoneWriter() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return {child, QStringLiteral("gone")};
}

// A level with its own tile set and some cells: tiles, a flag and a 6 x 6 object.
inline Bytes LevelWithTileSet() {
    Bytes bytes = test::MakeBmp();
    test::AppendRecord(bytes, 1, 12, 22);
    test::AppendRecord(bytes, 40, 13, 22);
    test::AppendRecord(bytes, 170, 14, 23);
    test::AppendRecord(bytes, 219, 7, 18);
    test::AppendRecord(bytes, 100, 1023, 1023);
    return bytes;
}

inline QStringList Ids(const std::vector<RecoveryEntry>& entries) {
    QStringList ids;
    for (const RecoveryEntry& entry : entries)
        ids.append(entry.id);
    return ids;
}

} // namespace krav::recovery_test
