#include "shell/RecoveryStore.h"

#include "document/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace krav {

namespace {

constexpr int RECORD_FORMAT = 1;

std::string ReadSmallFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What /proc tells of a process: its state letter and when it started ("boot/ticks").
struct ProcessStat {
    bool known = false;
    char state = '?';
    QString start;
};

ProcessStat StatOf(qint64 pid) {
    ProcessStat result;
    const std::string stat = ReadSmallFile("/proc/" + std::to_string(pid) + "/stat");
    // The command name in parentheses may hold spaces: the fields follow its last ')'.
    const auto close = stat.rfind(')');
    if (close == std::string::npos)
        return result;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    std::vector<std::string> values;
    while (fields >> field)
        values.push_back(field);
    constexpr std::size_t STATE = 0, START_TIME = 19; // fields 3 and 22 of stat
    if (values.size() <= START_TIME)
        return result;
    std::string boot = ReadSmallFile("/proc/sys/kernel/random/boot_id");
    boot.erase(std::remove(boot.begin(), boot.end(), '\n'), boot.end());
    result.known = true;
    result.state = values[STATE].empty() ? '?' : values[STATE].front();
    result.start = QString::fromStdString(boot + "/" + values[START_TIME]);
    return result;
}

QString JsonString(const QJsonObject& object, const char* key) {
    return object.value(QLatin1String(key)).toString();
}

} // namespace

RecoveryStore::Writer RecoveryStore::Writer::Current() {
    return Of(::getpid());
}

RecoveryStore::Writer RecoveryStore::Writer::Of(qint64 pid) {
    return {pid, StatOf(pid).start};
}

bool RecoveryStore::Writer::IsRunning() const {
    if (pid <= 0 || pid > INT_MAX)
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    const ProcessStat stat = StatOf(pid);
    if (!stat.known)
        return true; // without /proc the pid is all there is to go by
    // A crashed editor not yet reaped by its parent has not saved anything since either.
    if (stat.state == 'Z' || stat.state == 'X')
        return false;
    return start.isEmpty() || start == stat.start;
}

QString RecoveryStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/krav/recovery");
}

RecoveryStore::RecoveryStore(QString folder, Writer writer)
    : m_folder(std::move(folder)), m_writer(std::move(writer)) {}

QString RecoveryStore::LevelPath(const QString& id) const {
    return m_folder + QLatin1Char('/') + id + QStringLiteral(".lvl");
}

QString RecoveryStore::RecordPath(const QString& id) const {
    return m_folder + QLatin1Char('/') + id + QStringLiteral(".json");
}

QString RecoveryStore::NewId() const {
    for (;;) {
        const QString id =
            QStringLiteral("%1-%2")
                .arg(m_writer.pid)
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(LevelPath(id)) && !QFileInfo::exists(RecordPath(id)))
            return id;
    }
}

bool RecoveryStore::WriteRecord(const RecoveryEntry& entry) const {
    const QJsonObject record{{QStringLiteral("format"), RECORD_FORMAT},
                             {QStringLiteral("original"), entry.originalPath},
                             {QStringLiteral("title"), entry.title},
                             {QStringLiteral("saved"), entry.savedAt.toString(Qt::ISODateWithMs)},
                             {QStringLiteral("pid"), entry.pid},
                             {QStringLiteral("processStart"), entry.processStart}};
    const QByteArray bytes = QJsonDocument(record).toJson();
    return WriteFileAtomically(RecordPath(entry.id).toStdString(),
                               {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())}) == SaveError::None;
}

bool RecoveryStore::Write(const QString& id, const QString& originalPath, const QString& title,
                          std::span<const std::uint8_t> level) {
    if (!QFileInfo::exists(m_folder)) {
        if (!QDir().mkpath(m_folder))
            return false;
        // Unsaved work is nobody else's business.
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (WriteFileAtomically(LevelPath(id).toStdString(), level) != SaveError::None)
        return false;
    RecoveryEntry entry{id,           originalPath,  title, QDateTime::currentDateTimeUtc(),
                        m_writer.pid, m_writer.start};
    return WriteRecord(entry);
}

std::vector<RecoveryEntry> RecoveryStore::Entries() const {
    std::vector<RecoveryEntry> entries;
    const QStringList records =
        QDir(m_folder).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : records) {
        const QString id = name.chopped(5);
        QFile file(RecordPath(id));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject record = QJsonDocument::fromJson(file.readAll()).object();
        // A record without its level (or one we cannot read) has nothing to give back.
        if (record.value(QStringLiteral("format")).toInt() != RECORD_FORMAT ||
            !QFileInfo::exists(LevelPath(id)))
            continue;
        RecoveryEntry entry;
        entry.id = id;
        entry.originalPath = JsonString(record, "original");
        entry.title = JsonString(record, "title");
        entry.savedAt = QDateTime::fromString(JsonString(record, "saved"), Qt::ISODateWithMs);
        entry.pid = record.value(QStringLiteral("pid")).toInteger();
        entry.processStart = JsonString(record, "processStart");
        entry.writerRunning = Writer{entry.pid, entry.processStart}.IsRunning();
        entries.push_back(std::move(entry));
    }
    std::stable_sort(
        entries.begin(), entries.end(),
        [](const RecoveryEntry& a, const RecoveryEntry& b) { return a.savedAt > b.savedAt; });
    return entries;
}

std::vector<RecoveryEntry> RecoveryStore::LeftOver() const {
    std::vector<RecoveryEntry> entries = Entries();
    std::erase_if(entries, [](const RecoveryEntry& entry) { return entry.writerRunning; });
    return entries;
}

bool RecoveryStore::Adopt(const QString& id) {
    for (RecoveryEntry entry : Entries()) {
        if (entry.id != id)
            continue;
        entry.pid = m_writer.pid;
        entry.processStart = m_writer.start;
        return WriteRecord(entry);
    }
    return false;
}

void RecoveryStore::Remove(const QString& id) {
    // The record goes first: a level without one is never offered.
    QFile::remove(RecordPath(id));
    QFile::remove(LevelPath(id));
}

} // namespace krav
