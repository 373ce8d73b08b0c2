#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Stands in for the desktop in tests: receives the web pages and folders the
// program asks to open (install it with QDesktopServices::setUrlHandler).
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};
