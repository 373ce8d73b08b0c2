// The export job: what each format writes where, the grouped order, the
// path the save dialog's filter makes, and a cancelled or failed export that
// leaves the destination as it was.
#include "tests/kit/JobRecorder.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "export/ExportOrder.h"
#include "export/ExportSMSThread.h"
#include "export/ExportTarget.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {
QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every entry below folder, relative, sorted.
QStringList tree(const QString& folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(folder).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

// Files of this process may not grow past `bytes` while it lives: a write
// beyond fails with EFBIG, as on a full disk, instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    bool active = false;

private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
};
} // namespace

class TestExportJob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void filterMakesThePath_data();
    void filterMakesThePath();
    void formatNamesMeanTheirFilters();
    void unknownFormatName_data();
    void unknownFormatName();
    void groupedOrderKeepsConversationsTogether();
    void formats_data();
    void formats();
    void throttledProgressKeepsTheStartAndTheEnd();
    void emptyList_data();
    void emptyList();
    void cancelLeavesWhatWasThere_data();
    void cancelLeavesWhatWasThere();
    void unwritableDestination();
    void backupCountsWhatItHolds();
    void namesThatCleanAlikeKeepBothFiles();
    void underAFileSizeLimit_data();
    void underAFileSizeLimit();

private:
    // Two conversations: Ann (three messages) and a title with every
    // forbidden character (one message), plus a group of two.
    QList<_MsgMessage*> sample();
    JobRecorder& run(const QList<_MsgMessage*>& list, const QString& path, unsigned format, int cancelAt = 0);

    TestHome home;
    std::unique_ptr<QTemporaryDir> out;
    std::unique_ptr<Records> records;
    std::unique_ptr<JobRecorder> form;
};

void TestExportJob::initTestCase()
{
    // Fonts and their caches are loaded before any test limits file sizes.
    records = std::make_unique<Records>();
    QTemporaryDir warmUp;
    run(sample(), warmUp.filePath(QStringLiteral("warm-up-pdf")), ExportTarget::Pdf);
}

void TestExportJob::init()
{
    out = std::make_unique<QTemporaryDir>();
    records = std::make_unique<Records>();
}

QList<_MsgMessage*> TestExportJob::sample()
{
    Records& r = *records;
    _MsgHandle* ann = r.handle(QStringLiteral("+15550000001"), QStringLiteral("Ann"));
    _MsgHandle* odd = r.handle(QStringLiteral("+15550000002"), QStringLiteral("a/b:c*?\"<>|"));
    _MsgHandle* bob = r.handle(QStringLiteral("+15550000003"), QStringLiteral("Bob"));
    _MsgChat* annChat = r.singleChat(ann);
    _MsgChat* oddChat = r.singleChat(odd);
    _MsgChat* group = r.chat(QStringLiteral("SMS;+;chat42"), {ann, bob});
    annChat->_last = 300;
    oddChat->_last = 100;
    group->_last = 200;
    return {r.message(annChat, ann, 100, false, QStringLiteral("one")),
            r.message(oddChat, odd, 100, true,
                      QStringLiteral("\u05e9\u05dc\u05d5\u05dd \U0001F600 \u4f60\u597d")),
            r.message(annChat, ann, 200, true, QString()),
            r.message(group, bob, 200, false, QStringLiteral("group")),
            r.message(annChat, ann, 300, false, QStringLiteral("three"))};
}

JobRecorder& TestExportJob::run(const QList<_MsgMessage*>& list, const QString& path, unsigned format,
                                int cancelAt)
{
    form = std::make_unique<JobRecorder>();
    if (cancelAt > 0)
        form->cancelAtItem(cancelAt);
    ExportSMSThread job(list, path, format, true, form.get(), nullptr);
    form->runToEnd(job);
    return *form;
}

void TestExportJob::filterMakesThePath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QString>("path");
    QTest::newRow("text without suffix") << "/d/sms"
                                         << "Text Files(*.txt)" << 0u << "/d/sms.txt";
    QTest::newRow("document") << "/d/sms"
                              << "Doc Files(*.doc)" << 0u << "/d/sms.doc";
    QTest::newRow("other suffix kept") << "/d/notes.txt"
                                       << "CSV Files(*.csv)" << 1u << "/d/notes.txt";
    QTest::newRow("PDF: base name up to the first dot") << "/d/report.final.pdf"
                                                        << "PDF Files(*.pdf)" << 2u << "/d/report-pdf";
    QTest::newRow("HTML without suffix") << "/d/sms(1)"
                                         << "HTML Files(*.html)" << 3u << "/d/sms(1)-html";
    QTest::newRow("XML without suffix") << "/d/sms(1)"
                                        << "XML Backup (*.xml)" << 4u << "/d/sms(1).xml";
    QTest::newRow("XML, suffix kept") << "/d/phone.backup"
                                      << "XML Backup (*.xml)" << 4u << "/d/phone.backup";
}

void TestExportJob::filterMakesThePath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(unsigned, format);
    QFETCH(QString, path);
    QVERIFY(ExportTarget::filters().contains(filter));
    QCOMPARE(ExportTarget::filters().last(), QStringLiteral("XML Backup (*.xml)"));
    const ExportTarget target = ExportTarget::forChoice(chosen, filter);
    QCOMPARE(target.format, format);
    QCOMPARE(target.path, path);
}

// Every filter of the save dialog has a name on the command line, the ending
// of its pattern ("CSV Files(*.csv)": csv) in any letter case, and the two
// mean the same format and path.
void TestExportJob::formatNamesMeanTheirFilters()
{
    const QStringList filters = ExportTarget::filters();
    QCOMPARE(filters.size(), 6);
    for (const QString& filter : filters) {
        const QString name = filter.section(QStringLiteral("(*."), 1).chopped(1);
        for (const QString& chosen : {QStringLiteral("/d/sms"), QStringLiteral("/d/report.final.pdf")}) {
            const ExportTarget filtered = ExportTarget::forChoice(chosen, filter);
            for (const QString& typed : {name, name.toUpper()}) {
                const std::optional<ExportTarget> named = ExportTarget::forFormatName(chosen, typed);
                QVERIFY2(named, qPrintable(typed));
                QCOMPARE(named->format, filtered.format);
                QCOMPARE(named->path, filtered.path);
            }
        }
    }
}

void TestExportJob::unknownFormatName_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"", "jpeg", "pdf ", "*.pdf", "Text Files(*.txt)"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestExportJob::unknownFormatName()
{
    QFETCH(QString, name);
    QVERIFY(!ExportTarget::forFormatName(QStringLiteral("/d/sms"), name));
}

// Ann and Carol end at the same moment: their messages still stay together.
void TestExportJob::groupedOrderKeepsConversationsTogether()
{
    Records& r = *records;
    _MsgHandle* ann = r.handle(QStringLiteral("+1"), QStringLiteral("Ann"));
    _MsgHandle* carol = r.handle(QStringLiteral("+2"), QStringLiteral("Carol"));
    _MsgChat* a = r.singleChat(ann);
    _MsgChat* c = r.singleChat(carol);
    a->_last = c->_last = 500;
    QList<_MsgMessage*> list;
    for (int i = 0; i < 6; ++i)
        list << r.message(i % 2 ? a : c, i % 2 ? ann : carol, 100 + i * 1000, false, QString::number(i));
    sortGrouped(list, true);
    QStringList order;
    for (const _MsgMessage* m : list)
        order << m->chat->chat_identifier + QLatin1Char(':') + m->text.toString();
    QCOMPARE(order, (QStringList{"+1:1", "+1:3", "+1:5", "+2:0", "+2:2", "+2:4"}));
    sortGrouped(list, false);
    QCOMPARE(list.first()->text, QStringLiteral("4"));
    QCOMPARE(list.last()->text, QStringLiteral("1"));
}

void TestExportJob::formats_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries"); // below the export folder; empty: one file
    QTest::newRow("text") << 0u << "sms.txt" << QStringList();
    QTest::newRow("CSV") << 1u << "sms.csv" << QStringList();
    QTest::newRow("XML backup") << 4u << "sms.xml" << QStringList();
    QTest::newRow("PDF") << 2u << "sms-pdf"
                         << QStringList{"Ann (+15550000001).pdf", "abc (+15550000002).pdf", "chat42.pdf"};
    QTest::newRow("HTML") << 3u << "sms-html"
                          << QStringList{"Ann (+15550000001).html", "abc (+15550000002).html", "chat42.html",
                                         "files"};
}

void TestExportJob::formats()
{
    QFETCH(unsigned, format);
    QFETCH(QString, name);
    QFETCH(QStringList, entries);
    const QString path = out->filePath(name);
    JobRecorder& result = run(sample(), path, format);
    QCOMPARE(result.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList{"Successfully exported 5 SMS."});
    QCOMPARE(result.callsOf(QStringLiteral("updateProgress")).last().progressText,
             QStringLiteral("SMS: 5/5"));
    if (entries.isEmpty()) {
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(tree(out->path()), QStringList{name});
        return;
    }
    QCOMPARE(tree(path), entries);
    for (const QString& entry : entries)
        QVERIFY(entry == QLatin1String("files") || QFileInfo(path + QLatin1Char('/') + entry).size() > 0);
}

// Under the dialog's throttle, messages written faster than its interval
// post nothing in between: the start status, then the last count at 100%.
void TestExportJob::throttledProgressKeepsTheStartAndTheEnd()
{
    form = std::make_unique<JobRecorder>();
    form->throttleOnStoppedClock();
    ExportSMSThread job(sample(), out->filePath(QStringLiteral("sms.csv")), ExportTarget::Csv, true, form.get(),
                        nullptr);
    form->runToEnd(job);
    const QList<JobRecorder::Call> progress = form->callsOf(QStringLiteral("updateProgress"));
    QCOMPARE(progress.size(), 2);
    QCOMPARE(progress.first().text, QStringLiteral("Exporting SMS..."));
    QCOMPARE(progress.last().progress, 100);
    QCOMPARE(progress.last().progressText, QStringLiteral("SMS: 5/5"));
    QCOMPARE(form->calls.last().slot, QStringLiteral("succeed"));
}

void TestExportJob::emptyList_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<bool>("folder");
    QTest::newRow("CSV: no file") << 1u << false;
    QTest::newRow("XML: no file") << 4u << false;
    QTest::newRow("PDF: the empty folder") << 2u << true;
}

void TestExportJob::emptyList()
{
    QFETCH(unsigned, format);
    QFETCH(bool, folder);
    const QString path = out->filePath(QStringLiteral("empty"));
    JobRecorder& result = run({}, path, format);
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList{"Successfully exported 0 SMS."});
    QCOMPARE(QFileInfo(path).isDir(), folder);
    QCOMPARE(QFileInfo::exists(path), folder);
}

void TestExportJob::cancelLeavesWhatWasThere_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existed"); // the destination was there before, with the user's own file
    QTest::newRow("CSV over an existing file") << 1u << "old.csv" << true;
    QTest::newRow("XML over an existing file") << 4u << "old.xml" << true;
    QTest::newRow("XML, a new file") << 4u << "new.xml" << false;
    QTest::newRow("PDF into a new folder") << 2u << "new-pdf" << false;
    QTest::newRow("PDF into an existing folder") << 2u << "kept-pdf" << true;
    QTest::newRow("HTML into an existing folder") << 3u << "kept-html" << true;
}

// Cancelled at the fourth message: the destination is exactly as it was.
void TestExportJob::cancelLeavesWhatWasThere()
{
    QFETCH(unsigned, format);
    QFETCH(QString, name);
    QFETCH(bool, existed);
    const QString path = out->filePath(name);
    const bool folder = format == ExportTarget::Pdf || format == ExportTarget::Html;
    const QString mine = folder ? path + QStringLiteral("/mine.txt") : path;
    if (existed)
        writeFile(mine, "the user's own");
    const QStringList before = tree(out->path());
    const QByteArray bytes = bytesOf(mine);
    JobRecorder& result = run(sample(), path, format, 4);
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList());
    QCOMPARE(result.textsOf(QStringLiteral("errorOccurred")), QStringList());
    QCOMPARE(tree(out->path()), before);
    QCOMPARE(bytesOf(mine), bytes);
}

// A folder that cannot be made (a file stands in its place): the error of
// the file system, and nothing left behind.
void TestExportJob::unwritableDestination()
{
    writeFile(out->filePath(QStringLiteral("blocker")), "a file, not a folder");
    const QStringList before = tree(out->path());
    JobRecorder& csv = run(sample(), out->filePath(QStringLiteral("blocker/sms.csv")), 1);
    QCOMPARE(csv.textsOf(QStringLiteral("errorOccurred")).size(), 1);
    JobRecorder& pdf = run(sample(), out->filePath(QStringLiteral("blocker/sms-pdf")), 2);
    QCOMPARE(pdf.textsOf(QStringLiteral("errorOccurred")).size(), 1);
    QVERIFY(
        pdf.textsOf(QStringLiteral("errorOccurred")).first().startsWith(QStringLiteral("can not create")));
    QCOMPARE(tree(out->path()), before);
}

// A null entry and a system message do not go into the backup: the count,
// the elements and the report all say four.
void TestExportJob::backupCountsWhatItHolds()
{
    QList<_MsgMessage*> list = sample();
    _MsgMessage* first = list.first();
    list.removeFirst();
    list.insert(2, nullptr);
    list << records->message(first->chat, first->handle, 400, false, QString(), 2);
    const QString path = out->filePath(QStringLiteral("backup.xml"));
    JobRecorder& result = run(list, path, ExportTarget::Xml);
    QCOMPARE(result.textsOf(QStringLiteral("succeed")), QStringList{"Successfully exported 4 SMS."});
    const QByteArray bytes = bytesOf(path);
    QCOMPARE(bytes.count("<sms "), 4);
    QVERIFY(bytes.contains("<smses count=\"4\" "));
    QVERIFY(bytes.endsWith("</smses>\n"));
    QCOMPARE(tree(out->path()), QStringList{"backup.xml"});
}

// "x/y" and "xy" both clean to "xy": the second conversation gets a file of
// its own instead of replacing the first one's.
void TestExportJob::namesThatCleanAlikeKeepBothFiles()
{
    Records& r = *records;
    _MsgHandle* slash = r.handle(QStringLiteral("+1"), QStringLiteral("x/y"));
    _MsgHandle* plain = r.handle(QStringLiteral("+1"), QStringLiteral("xy"));
    _MsgChat* first = r.chat(QStringLiteral("SMS;-;first"), {slash});
    _MsgChat* second = r.chat(QStringLiteral("SMS;-;second"), {plain});
    second->_last = 1;
    const QList<_MsgMessage*> list{r.message(first, slash, 10, false, QStringLiteral("one")),
                                   r.message(second, plain, 20, false, QStringLiteral("two"))};
    const QString path = out->filePath(QStringLiteral("same-html"));
    JobRecorder& result = run(list, path, 3);
    QCOMPARE(result.textsOf(QStringLiteral("succeed")).size(), 1);
    QCOMPARE(tree(path), (QStringList{"files", "xy (+1) (2).html", "xy (+1).html"}));
    QVERIFY(bytesOf(path + QStringLiteral("/xy (+1).html")).contains("one"));
    QVERIFY(bytesOf(path + QStringLiteral("/xy (+1) (2).html")).contains("two"));
}

void TestExportJob::underAFileSizeLimit_data()
{
    QTest::addColumn<unsigned>("format");
    QTest::addColumn<QString>("name"); // of the destination
    QTest::addColumn<QString>("contact");
    QTest::addColumn<int>("count");       // messages, all in one conversation
    QTest::addColumn<QString>("written"); // the one file below a folder; empty: the export fails
    const QString wang(100, QChar(0x738B));
    const QString fitting(78, QChar(0x738B)); // 234 bytes; with ".pdf" and the working name's ending, 253
    QTest::newRow("text") << 0u << "sms.txt"
                          << "Ann" << 300 << "";
    QTest::newRow("document") << 0u << "sms.doc"
                              << "Ann" << 300 << "";
    QTest::newRow("CSV") << 1u << "sms.csv"
                         << "Ann" << 300 << "";
    QTest::newRow("HTML") << 3u << "sms-html"
                          << "Ann" << 300 << "";
    QTest::newRow("PDF") << 2u << "sms-pdf"
                         << "Ann" << 300 << "";
    QTest::newRow("XML backup") << 4u << "sms.xml"
                                << "Ann" << 300 << "";
    QTest::newRow("PDF, 100 CJK characters, fits")
        << 2u << "cjk-pdf" << wang << 1 << QString(fitting + ".pdf");
    QTest::newRow("HTML, 100 CJK characters, fits")
        << 3u << "cjk-html" << wang << 1 << QString(fitting + ".html");
}

// A file that cannot grow (a full disk, a size limit) fails the export in
// words and leaves nothing behind; a long name is cut to fit, not refused.
void TestExportJob::underAFileSizeLimit()
{
    QFETCH(unsigned, format);
    QFETCH(QString, name);
    QFETCH(QString, contact);
    QFETCH(int, count);
    QFETCH(QString, written);
    Records& r = *records;
    _MsgHandle* who = r.handle(QStringLiteral("+15550000001"), contact);
    _MsgChat* chat = r.singleChat(who);
    QList<_MsgMessage*> list;
    for (int i = 0; i < count; ++i)
        list << r.message(chat, who, 1000 + i, i % 2, QStringLiteral("message %1 ").arg(i).repeated(8));
    const QString path = out->filePath(name);
    {
        FileSizeLimit limit(16 * 1024);
        QVERIFY(limit.active);
        run(list, path, format);
    }
    const QStringList errors = form->textsOf(QStringLiteral("errorOccurred"));
    if (written.isEmpty()) {
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("File too large")) && errors.first().contains(path) &&
                     !errors.first().contains(QStringLiteral(".textferry-part")),
                 qPrintable(errors.first()));
        QCOMPARE(form->textsOf(QStringLiteral("succeed")), QStringList());
        QCOMPARE(tree(out->path()), QStringList());
        return;
    }
    QCOMPARE(errors, QStringList());
    QCOMPARE(form->textsOf(QStringLiteral("succeed")), QStringList{"Successfully exported 1 SMS."});
    QStringList files = tree(path);
    files.removeAll(QStringLiteral("files")); // the HTML pages' support folder
    QCOMPARE(files, QStringList{written});
    QVERIFY(QFileInfo(path + QLatin1Char('/') + written).size() > 0);
}

QTEST_MAIN(TestExportJob)
#include "test_export_job.moc"
