#include "app/ui/ShellOpen.h"

#include <QDesktopServices>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Stands in for the desktop: receives what would be opened.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

class TestShellOpen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { catcher.urls.clear(); }

    void webAddressOpensAsUrl();
    void filePathOpensAsLocalFile();
    void folderOpensInFileManager();

private:
    UrlCatcher catcher;
};

void TestShellOpen::initTestCase()
{
#ifdef Q_OS_WIN
    QSKIP("the Windows shell is called directly");
#endif
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
}

void TestShellOpen::cleanupTestCase()
{
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void TestShellOpen::webAddressOpensAsUrl()
{
    openWithShell(QStringLiteral("https://www.textferry.app/help/?pid=5E0A&ver=39"));
    openWithShell(QStringLiteral("http://example.com/download.exe"));
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls.at(0), QUrl(QStringLiteral("https://www.textferry.app/help/?pid=5E0A&ver=39")));
    QCOMPARE(catcher.urls.at(1), QUrl(QStringLiteral("http://example.com/download.exe")));
}

void TestShellOpen::filePathOpensAsLocalFile()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("export #1 100%.html"));
    openWithShell(path);
    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY(catcher.urls.first().isLocalFile());
    QCOMPARE(catcher.urls.first().toLocalFile(), path);
}

void TestShellOpen::folderOpensInFileManager()
{
    QTemporaryDir tmp;
    openInExplorer(tmp.path());
    openInExplorer(tmp.path() + QStringLiteral("/sub/../"));
    QCOMPARE(catcher.urls.size(), 2);
    QCOMPARE(catcher.urls.at(0), QUrl::fromLocalFile(tmp.path()));
    QCOMPARE(catcher.urls.at(1), QUrl::fromLocalFile(tmp.path()));
}

QTEST_MAIN(TestShellOpen)
#include "test_shellopen.moc"
