#include "ui/VendorRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace {

QNetworkRequest makeRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(VendorRequest::kTransferTimeoutMs);
    // A redirect is an answer like any other; it is not followed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

// Aborts the reply as soon as it announces or delivers more than the cap.
QNetworkReply* capped(QNetworkReply* reply)
{
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > VendorRequest::kMaxBodyBytes || total > VendorRequest::kMaxBodyBytes)
            reply->abort();
    });
    return reply;
}

bool isText(const QByteArray& body)
{
    return std::none_of(body.cbegin(), body.cend(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
    });
}

} // namespace

namespace VendorRequest {

QNetworkReply* get(QNetworkAccessManager& manager, const QUrl& url)
{
    return capped(manager.get(makeRequest(url)));
}

QNetworkReply* postForm(QNetworkAccessManager& manager, const QUrl& url, const QByteArray& form)
{
    QNetworkRequest request = makeRequest(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    return capped(manager.post(request, form));
}

bool hasHttpStatus(const QNetworkReply& reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

std::optional<QByteArray> textBody(QNetworkReply& reply)
{
    if (!reply.isFinished() || reply.error() != QNetworkReply::NoError ||
        reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return std::nullopt;
    const QByteArray body = reply.read(kMaxBodyBytes + 1);
    if (body.size() > kMaxBodyBytes || !isText(body))
        return std::nullopt;
    return body;
}

} // namespace VendorRequest
