#include "presence/HTTPThreads.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

THTTPRequestThread::THTTPRequestThread(QByteArray url, int timeoutMs, QObject *parent)
    : QObject(parent), URL(std::move(url)), manager(new QNetworkAccessManager(this)), timeoutMs(timeoutMs) {}

void THTTPRequestThread::Start() {
    QNetworkRequest request(QUrl::fromEncoded(URL));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = manager->get(request);
    connect(reply, &QNetworkReply::readyRead, this, [reply] {
        if (reply->bytesAvailable() > MaxResponseBytes) reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { Done(reply); });
}

void THTTPRequestThread::Done(QNetworkReply *reply) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    Failed = reply->error() != QNetworkReply::NoError || status < 200 || status > 299;
    if (!Failed) Response = reply->readAll();
    reply->deleteLater();
    Q_EMIT Finished();
    deleteLater();
}
