#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include <utility>

namespace {

LocalHttpServer::Request parseHead(const QByteArray &head)
{
    LocalHttpServer::Request request;
    const QList<QByteArray> lines = head.split('\n');
    request.target = lines.value(0).trimmed().split(' ').value(1);
    const QUrl url = QUrl::fromEncoded("http://host" + request.target);
    request.path = url.path(QUrl::FullyDecoded);
    if (const qsizetype question = request.target.indexOf('?'); question >= 0)
        request.rawQuery = request.target.mid(question + 1);
    request.queryItems = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    return request;
}

} // namespace

LocalHttpServer::LocalHttpServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0)
                readFrom(socket);
        }
    });
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("LocalHttpServer: cannot listen: %s", qPrintable(m_server.errorString()));
}

QUrl LocalHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LocalHttpServer::readFrom(QTcpSocket *socket)
{
    // Requests here are GETs without a body: the head is all there is.
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    socket->setProperty("buffer", end < 0 ? buffer : buffer.mid(end + 4));
    if (end < 0)
        return;
    m_requests.append(parseHead(buffer.left(end)));
    const Response response = m_responder ? m_responder(m_requests.last()) : m_response;
    QPointer<QTcpSocket> guarded(socket);
    if (response.behaviour == Response::Behaviour::held) { // held from this moment on
        Response whole = response;
        whole.behaviour = Response::Behaviour::complete;
        m_held.append({guarded, whole});
        return;
    }
    QTimer::singleShot(response.delayMs, this, [this, guarded, response] {
        if (guarded)
            answer(guarded, response);
    });
}

void LocalHttpServer::release()
{
    const auto held = std::exchange(m_held, {});
    for (const auto &[socket, response] : held) {
        if (socket)
            answer(socket, response);
    }
}

void LocalHttpServer::answer(QTcpSocket *socket, const Response &response)
{
    using Behaviour = Response::Behaviour;
    if (response.behaviour == Behaviour::stall)
        return;

    // Clients read the status code; the reason phrase is free text.
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    if (response.sendContentLength)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    socket->write(response.behaviour == Behaviour::complete ? response.body : response.body.left(response.cutAfter));
    socket->flush();
    if (response.behaviour != Behaviour::stallMidBody)
        socket->disconnectFromHost();
}
