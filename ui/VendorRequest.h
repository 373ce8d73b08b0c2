#pragma once

#include <QByteArray>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// What every request to the vendor's web server shares: a time limit, no
// redirects, and a small cap on what is taken in return. Nothing here waits;
// the caller reads the reply when it has finished.
namespace VendorRequest {
inline constexpr int kTransferTimeoutMs = 30000;
// Larger bodies are aborted while they arrive and never read.
inline constexpr qint64 kMaxBodyBytes = 64 * 1024;

QNetworkReply* get(QNetworkAccessManager& manager, const QUrl& url);
// Posts a form ("application/x-www-form-urlencoded").
QNetworkReply* postForm(QNetworkAccessManager& manager, const QUrl& url, const QByteArray& form);
// True when the server answered with an HTTP status, whatever it was; false
// when there was no answer at all (no connection, no reply in time).
bool hasHttpStatus(const QNetworkReply& reply);
// The body of a finished reply that is complete, has status 200, fits the cap
// and is text (no control characters but tab, CR and LF); nothing otherwise.
std::optional<QByteArray> textBody(QNetworkReply& reply);
} // namespace VendorRequest
