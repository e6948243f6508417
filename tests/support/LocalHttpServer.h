#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QUrl>

#include <functional>
#include <utility>

class QTcpSocket;

// A small HTTP/1.1 server inside the test process, on 127.0.0.1 and a free
// port, driven by the test thread's event loop. It records every request and
// answers each with a canned response, which can also misbehave on purpose
// (stall, cut the body short) to exercise a client's failure paths.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray target;   // as sent: path plus "?" and the raw query
        QString path;        // percent-decoded
        QByteArray rawQuery; // exactly as sent, without the "?"
        QList<std::pair<QString, QString>> queryItems; // in order, percent-decoded ("+" stays "+")
        QHash<QByteArray, QByteArray> headers;          // by lower-case name
        // The value of the header with this name (case-insensitive), or null.
        QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
    };

    struct Response {
        enum class Behaviour {
            complete,      // the whole answer, then close
            stall,         // accept the request and never answer
            stallMidBody,  // headers and the first cutAfter bytes of the body, then silence
            cutOffBody,    // headers and the first cutAfter bytes of the body, then close
            held,          // accept the request and answer completely once release() is called
        };
        int status = 200;
        QByteArray body;
        QList<std::pair<QByteArray, QByteArray>> headers = {{"Content-Type", "application/octet-stream"}};
        Behaviour behaviour = Behaviour::complete;
        qsizetype cutAfter = 0;
        int delayMs = 0; // wait this long before answering
        bool sendContentLength = true; // without it the body ends when the connection closes
    };
    using Responder = std::function<Response(const Request &)>;

    LocalHttpServer();
    // http://127.0.0.1:<port><path>
    QUrl url(const QString &path = QStringLiteral("/")) const;
    // Every request gets this answer unless a responder is set.
    void setResponse(Response response) { m_response = std::move(response); }
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    const QList<Request> &requests() const { return m_requests; }
    // Answers every request held so far, each with its whole response.
    void release();

private:
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Response &response);

    QTcpServer m_server;
    Response m_response;
    Responder m_responder;
    QList<Request> m_requests;
    QList<std::pair<QPointer<QTcpSocket>, Response>> m_held;
};
