#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char Acknowledgement = 'A';
constexpr qint64 HeaderBytes = 4;
const char *const DeliveredProperty = "orviDelivered";

// A folder only this user can enter; anything else (someone else's folder, a symlink) is refused.
bool EnsurePrivateFolder(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    return (info.st_mode & 077) == 0 || ::chmod(native.constData(), 0700) == 0;
}

QString RuntimeBase() {
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) return runtime;
    return QStringLiteral("/tmp/orvi-%1").arg(::getuid());
}

QString InstanceName(const QString &settingsFolder) {
    const QByteArray key = QDir::cleanPath(QDir(settingsFolder).absolutePath()).toUtf8();
    return QStringLiteral("orvi-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
}

QByteArray EncodeParameters(const QStringList &params) {
    QByteArray payload;
    for (const QString &param : params)
        payload += param.toUtf8() + '\0';
    return payload;
}

// Nothing when the payload is not a list of NUL-ended UTF-8 texts.
std::optional<QStringList> DecodeParameters(const QByteArray &payload) {
    if (payload.isEmpty()) return QStringList();
    if (!payload.endsWith('\0')) return std::nullopt;
    QStringList params;
    QStringDecoder decoder(QStringDecoder::Utf8);
    for (const QByteArray &part : payload.chopped(1).split('\0')) {
        params.append(decoder.decode(part));
        if (decoder.hasError()) return std::nullopt;
    }
    return params;
}

qint64 Remaining(const QDeadlineTimer &deadline) {
    return qMax<qint64>(0, deadline.remainingTime());
}

// The running copy can hold the lock a moment before it listens, so a refused connection is retried.
bool ConnectBefore(QLocalSocket &socket, const QString &path, const QDeadlineTimer &deadline) {
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(int(Remaining(deadline)))) return true;
        socket.abort();
        if (deadline.hasExpired()) return false;
        QThread::msleep(qMin<qint64>(50, Remaining(deadline)));
    }
}
} // namespace

TSingleInstance::TSingleInstance(const QString &settingsFolder, QObject *parent)
    : QObject(parent), folder(RuntimeBase() + QLatin1Char('/') + InstanceName(settingsFolder)) {}

TSingleInstance::~TSingleInstance() {
    // Connections still open end quietly: this copy is closing, no other copy went away.
    if (server)
        for (QLocalSocket *socket : server->findChildren<QLocalSocket *>())
            socket->disconnect(this);
    // The socket goes before the lock, so a copy that takes the lock next never loses its new socket.
    delete server;
}

QString TSingleInstance::LockPath() const {
    return folder + QStringLiteral("/instance.lock");
}

QString TSingleInstance::SocketPath() const {
    return folder + QStringLiteral("/instance.sock");
}

TSingleInstance::TRole TSingleInstance::Claim() {
    if (!EnsurePrivateFolder(QFileInfo(folder).path()) || !EnsurePrivateFolder(folder)) return TRole::Failed;
    lock = std::make_unique<QLockFile>(LockPath());
    // Only a dead holder makes the lock stale, however long the running copy has been up.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError ? TRole::Secondary : TRole::Failed;

    // A socket left behind by a copy that was killed would make listen() fail.
    QLocalServer::removeServer(SocketPath());
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(SocketPath())) {
        delete server;
        server = nullptr;
        lock->unlock();
        return TRole::Failed;
    }
    connect(server, &QLocalServer::newConnection, this, &TSingleInstance::Accept);
    return TRole::Primary;
}

bool TSingleInstance::SendToPrimary(const QStringList &params, int timeoutMs) {
    const QByteArray payload = EncodeParameters(params);
    if (payload.size() > MaxMessageBytes) return false;
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    if (!ConnectBefore(socket, SocketPath(), deadline)) return false;

    QByteArray header(HeaderBytes, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), header.data());
    socket.write(header + payload);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(int(Remaining(deadline)))) return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(int(Remaining(deadline)))) return false;
    char answer = 0;
    const bool acknowledged = socket.getChar(&answer) && answer == Acknowledgement;
    socket.disconnectFromServer();
    return acknowledged;
}

void TSingleInstance::Accept() {
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            if (socket->property(DeliveredProperty).toBool()) Q_EMIT InstanceDestroyed();
            socket->deleteLater();
        });
        // A peer that connects and stalls must not hold a connection open for ever.
        QTimer::singleShot(ReceiveTimeLimitMs, socket, [socket] {
            if (!socket->property(DeliveredProperty).toBool()) socket->abort();
        });
    }
}

void TSingleInstance::ReadMessage(QLocalSocket *socket) {
    if (socket->property(DeliveredProperty).toBool()) {
        socket->readAll(); // one message per connection; anything after it is dropped
        return;
    }
    if (socket->bytesAvailable() < HeaderBytes) return;
    const quint32 length = qFromBigEndian<quint32>(socket->peek(HeaderBytes).constData());
    if (length > MaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < HeaderBytes + length) return;
    socket->skip(HeaderBytes);
    const std::optional<QStringList> params = DecodeParameters(socket->read(length));
    if (!params) {
        socket->abort();
        return;
    }
    socket->setProperty(DeliveredProperty, true);
    socket->putChar(Acknowledgement);
    socket->flush();
    Q_EMIT InstanceCreated();
    Q_EMIT ParametersReceived(*params);
}

QString JoinOwnCommandLine(const QStringList &params) {
    return params.join(QString());
}

QString JoinForwardedCommandLine(const QStringList &params) {
    QString text;
    for (const QString &param : params)
        text += param + QStringLiteral("\r\n");
    return text;
}
