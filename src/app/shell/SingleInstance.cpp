#include "shell/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace krav {

namespace {

// What a running editor answers once it has taken the files.
constexpr char RECEIVED = '+';
// A request larger than this is not from one of us.
constexpr qint64 MAX_REQUEST = 1 << 20;

QString DisplayName() {
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    display.replace(QLatin1Char('/'), QLatin1Char('_'));
    return display;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

QString SingleInstance::ServerPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/krav-") + DisplayName() + QStringLiteral(".socket");
}

bool SingleInstance::HandOver(const QStringList& files, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(ServerPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QStringList absolute;
    for (const QString& file : files)
        absolute.append(QFileInfo(file).absoluteFilePath());
    QByteArray request;
    QDataStream message(&request, QIODevice::WriteOnly);
    message << absolute;
    QDataStream out(&socket);
    out << static_cast<qint64>(request.size());
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Only an answer proves that the running editor took the files.
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == RECEIVED;
}

bool SingleInstance::Listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    if (m_server->listen(ServerPath()))
        return true;
    // A socket left behind by an editor that crashed: nobody answered on it, take it over.
    QLocalServer::removeServer(ServerPath());
    return m_server->listen(ServerPath());
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        if (socket->bytesAvailable() > 0)
            OnReadable(socket);
    }
}

void SingleInstance::OnReadable(QLocalSocket* socket) {
    QDataStream in(socket);
    in.startTransaction();
    qint64 size = 0;
    in >> size;
    if (in.status() == QDataStream::Ok && (size < 0 || size > MAX_REQUEST)) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < size) {
        in.rollbackTransaction(); // the rest is still on its way
        return;
    }
    QByteArray request(static_cast<qsizetype>(size), Qt::Uninitialized);
    in.readRawData(request.data(), static_cast<int>(size));
    if (!in.commitTransaction())
        return;
    QStringList files;
    QDataStream message(request);
    message >> files;
    if (message.status() != QDataStream::Ok) {
        socket->abort();
        return;
    }
    // Answer first: the other editor may end at once, the files open while it does.
    socket->putChar(RECEIVED);
    socket->flush();
    emit filesReceived(files);
}

} // namespace krav
