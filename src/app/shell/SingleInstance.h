#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace krav {

// One editor per user and display: a second `krav FILE...` hands its files to the running
// editor over a local socket in the user's runtime folder and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // The socket's path, e.g. /run/user/1000/krav-:0.socket.
    static QString ServerPath();
    // Hands the files (made absolute) to a running editor; false when none answered in time.
    static bool HandOver(const QStringList& files, int timeoutMs = 1000);
    // Starts answering later editors; false if the socket cannot be made.
    bool Listen();

signals:
    // A later editor asked to open these files (absolute paths; none: just come forward).
    void filesReceived(const QStringList& files);

private:
    void OnConnection();
    void OnReadable(QLocalSocket* socket);

    QLocalServer* m_server = nullptr;
};

} // namespace krav
