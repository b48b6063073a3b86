#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace krav {

// One level the autosave kept: its bytes lie in the store's folder as <id>.lvl, what it
// belongs to in <id>.json.
struct RecoveryEntry {
    QString id;
    QString originalPath; // the user's file; empty for a level never saved
    QString title;
    QDateTime savedAt; // UTC
    qint64 pid = 0;    // the editor that wrote it
    QString processStart;
    bool writerRunning = false; // that editor still runs: its copies are not left over
};

// The folder of recovery copies of modified levels. Each entry has a record of its own, so
// that editors running side by side never rewrite each other's index.
class RecoveryStore {
public:
    // A process as the records name it: a pid alone may be reused after the writer died (a
    // reboot hands out the same small numbers), so its start is kept too where known.
    struct Writer {
        qint64 pid = 0;
        QString start;

        static Writer Current();
        static Writer Of(qint64 pid);
        bool IsRunning() const;
    };

    // "krav/recovery" in the user's data location.
    static QString DefaultFolder();

    explicit RecoveryStore(QString folder = DefaultFolder(), Writer writer = Writer::Current());

    const QString& Folder() const { return m_folder; }
    // A name for a new entry, taken by no file in the folder.
    QString NewId() const;
    // Writes (or replaces) an entry as this store's writer: the level first, then its record,
    // each atomically, so a crash leaves the previous copy or the new one.
    bool Write(const QString& id, const QString& originalPath, const QString& title,
               std::span<const std::uint8_t> level);
    // Every readable entry, newest first.
    std::vector<RecoveryEntry> Entries() const;
    // The entries whose writer is gone: what a crash left behind.
    std::vector<RecoveryEntry> LeftOver() const;
    QString LevelPath(const QString& id) const;
    // Makes this store's writer the owner of an entry it opened from a crashed run.
    bool Adopt(const QString& id);
    void Remove(const QString& id);

private:
    QString RecordPath(const QString& id) const;
    bool WriteRecord(const RecoveryEntry& entry) const;

    QString m_folder;
    Writer m_writer;
};

} // namespace krav
