#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

QByteArray LocalHttpServer::Request::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

LocalHttpServer::LocalHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::accept);
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("LocalHttpServer: cannot listen: %s", qPrintable(m_server.errorString()));
}

LocalHttpServer::~LocalHttpServer() = default;

QUrl LocalHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path));
}

void LocalHttpServer::setResponse(Response response)
{
    m_response = std::move(response);
}

void LocalHttpServer::setResponder(Responder responder)
{
    m_responder = std::move(responder);
}

LocalHttpServer::Request LocalHttpServer::parseRequestHead(const QByteArray &head)
{
    Request request;
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    const qsizetype question = request.target.indexOf('?');
    const QByteArray rawPath = question < 0 ? request.target : request.target.left(question);
    request.path = QString::fromUtf8(QByteArray::fromPercentEncoding(rawPath));
    if (question >= 0) {
        request.rawQuery = request.target.mid(question + 1);
        for (const QByteArray &item : request.rawQuery.split('&')) {
            const qsizetype eq = item.indexOf('=');
            const QByteArray key = eq < 0 ? item : item.left(eq);
            const QByteArray value = eq < 0 ? QByteArray() : item.mid(eq + 1);
            request.queryItems.append({QString::fromUtf8(QByteArray::fromPercentEncoding(key)),
                                       QString::fromUtf8(QByteArray::fromPercentEncoding(value))});
        }
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    return request;
}

void LocalHttpServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

void LocalHttpServer::readFrom(QTcpSocket *socket)
{
    // Requests here are GETs without a body: the head is all there is.
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("buffer", buffer.mid(end + 4));
    const Request request = parseRequestHead(buffer.left(end));
    m_requests.append(request);
    const Response response = m_responder ? m_responder(request) : m_response;
    if (response.delayMs > 0) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(response.delayMs, this, [this, guarded, response] {
            if (guarded)
                answer(guarded, response);
        });
    } else {
        answer(socket, response);
    }
}

void LocalHttpServer::answer(QTcpSocket *socket, const Response &response)
{
    using Behaviour = Response::Behaviour;
    if (response.behaviour == Behaviour::Stall)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    if (response.sendContentLength)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    if (response.behaviour == Behaviour::Complete) {
        socket->write(response.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(response.body.left(response.cutAfter));
    socket->flush();
    if (response.behaviour == Behaviour::CutOffBody)
        socket->disconnectFromHost();
}
