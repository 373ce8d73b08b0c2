// The pages of the PDF export and of printing, read back with poppler-utils.
#include "tests/kit/ModalDriver.h"
#include "tests/kit/StoreTestKit.h"
#include "tests/kit/TestHome.h"

#include "export/ExportSMSPdf.h"
#include "export/MessagePageWriter.h"
#include "export/SMSPrinter.h"
#include "store/StoredDate.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLocale>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kDate = 600000000;

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                          QRegularExpression::MultilineOption);
    return pages.match(output(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// The trimmed non-empty lines of one page.
QStringList pageLines(const QString& pdf, int page)
{
    const QString number = QString::number(page);
    QStringList lines = output(QStringLiteral("pdftotext"), {"-layout", "-f", number, "-l", number, pdf, "-"})
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines;
}

void paintToPdf(SMSPrinter& smsPrinter, const QString& path)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Point);
    smsPrinter.onPaintRequested(&printer);
}
} // namespace

class TestPageWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pages_data();
    void pages();
    void hugeTexts_data();
    void hugeTexts();
    void textHeightIsThePaintersWrappedHeight_data();
    void textHeightIsThePaintersWrappedHeight();
    void unwritablePdf();
    void printEmptyList();
    void printPreviewRepaintsTheListInItsOrder();

private:
    QString exportPdf(const QList<_MsgMessage*>& messages);

    QTemporaryDir dir;
    Records r;
    _MsgChat* chat = nullptr;
};

void TestPageWriter::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("pdftotext and pdfinfo (Debian package poppler-utils) are needed to read the pages back");
    QVERIFY(installEnglishTranslation());
    chat = r.singleChat(r.handle(QStringLiteral("+4411"), QStringLiteral("Ann")));
}

QString TestPageWriter::exportPdf(const QList<_MsgMessage*>& messages)
{
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    ExportSMSPdf pdf(path);
    pdf.begin();
    for (const _MsgMessage* message : messages)
        pdf.write(*message);
    pdf.end();
    return path;
}

void TestPageWriter::pages_data()
{
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("linesEach");
    QTest::newRow("one short message") << 1 << 1;
    // Each block takes more than half a page: one message per page.
    QTest::newRow("three tall messages") << 3 << 35;
}

// Message n lands on page n, which carries its number at the bottom.
void TestPageWriter::pages()
{
    QFETCH(int, messages);
    QFETCH(int, linesEach);
    QList<_MsgMessage*> list;
    for (int n = 1; n <= messages; ++n) {
        QStringList lines;
        for (int line = 1; line <= linesEach; ++line)
            lines << QStringLiteral("message %1 line %2").arg(n).arg(line);
        list << r.message(chat, chat->participants.first(), kDate, false, lines.join(QLatin1Char('\n')));
    }
    const QString pdf = exportPdf(list);
    QCOMPARE(pageCount(pdf), messages);
    const QString date = QLocale::system().toString(storedDateToLocal(kDate), QLocale::ShortFormat);
    for (int n = 1; n <= messages; ++n) {
        const QStringList lines = pageLines(pdf, n);
        QCOMPARE(lines.mid(0, 3),
                 QStringList({date, "From: Ann (+4411)", QString("message %1 line 1").arg(n)}));
        QCOMPARE(lines.mid(linesEach + 1),
                 QStringList({QString("message %1 line %2").arg(n).arg(linesEach), QString::number(n)}));
    }
}

void TestPageWriter::hugeTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("10 MB of words") << QStringLiteral("word ").repeated(2'000'000);
    QTest::newRow("10 MB in one run") << QString(10'000'000, QLatin1Char('x'));
}

// A huge text shows its beginning and, on the same page, how much is left out.
void TestPageWriter::hugeTexts()
{
    QFETCH(QString, text);
    const QString pdf = exportPdf({r.message(chat, nullptr, kDate, true, text)});
    const qsizetype omitted = text.trimmed().size() - MessagePageWriter::kPageTextLimit;
    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(pageLines(pdf, 1).mid(3).filter(QStringLiteral("more characters")),
             QStringList({QStringLiteral("[%1 more characters are not shown here.]").arg(omitted)}));
}

void TestPageWriter::textHeightIsThePaintersWrappedHeight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("empty") << QString() << 300;
    QTest::newRow("one word") << QStringLiteral("hello") << 300;
    QTest::newRow("wrapped words") << QStringLiteral("the quick brown fox jumps ").repeated(12) << 250;
    QTest::newRow("line feeds, CR LF, tabs") << QStringLiteral("a\nb\r\nc\td\n\n\ne") << 300;
    QTest::newRow("a word wider than the page") << QString(400, QLatin1Char('m')) << 200;
    QTest::newRow("right to left, mixed")
        << QStringLiteral("\u0634\u0643\u0631\u0627 \u062c\u0632\u064a\u0644\u0627! 12:30 ok. ").repeated(9)
        << 220;
    QTest::newRow("very narrow") << QStringLiteral("one two three") << 1;
}

// The height a message block is given is the one the painter's own wrapped
// text drawing needs, so page breaks fall where they would with it.
void TestPageWriter::textHeightIsThePaintersWrappedHeight()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFont font = QGuiApplication::font();
    font.setPointSize(12);
    const int painters = QFontMetrics(font)
                             .boundingRect(QRect(0, 0, width, 0), Qt::AlignLeft | Qt::TextWordWrap, text)
                             .height();
    QCOMPARE(MessagePageWriter().textHeight(text, width), painters);
}

void TestPageWriter::unwritablePdf()
{
    const QString path = dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
    ExportSMSPdf pdf(path);
    const QString expected = QStringLiteral("can not write %1: ").arg(QDir::toNativeSeparators(path));
    try {
        pdf.begin();
        QFAIL("begin() did not throw");
    } catch (const std::runtime_error& e) {
        QVERIFY2(QString::fromUtf8(e.what()).startsWith(expected), e.what());
    }
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, pdf.end());
    QVERIFY(!QFile::exists(path));
}

void TestPageWriter::printEmptyList()
{
    SMSPrinter printer;
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    paintToPdf(printer, pdf);
    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(pageLines(pdf, 1), QStringList({"1"}));
}

// Every paint request of the preview lays out the whole list from page 1,
// in the caller's order.
void TestPageWriter::printPreviewRepaintsTheListInItsOrder()
{
    _MsgMessage* earlier = r.message(chat, nullptr, kDate, true, QStringLiteral("earlier"));
    _MsgMessage* later = r.message(chat, nullptr, kDate + 60, true, QStringLiteral("later"));
    SMSPrinter printer;
    ModalDriver driver;
    QString title;
    const QStringList pdfs = {dir.filePath(QStringLiteral("p1.pdf")), dir.filePath(QStringLiteral("p2.pdf"))};
    driver.answerWith(
        [&](QWidget* preview) {
            title = preview->windowTitle();
            paintToPdf(printer, pdfs[0]);
            paintToPdf(printer, pdfs[1]);
            qobject_cast<QDialog*>(preview)->reject();
        },
        [](QWidget* w) { return w->objectName() == QLatin1String("printPreview"); });
    printer.print({later, earlier});
    QVERIFY(driver.waitUntilDone());
    QCOMPARE(title, QStringLiteral("Print SMS"));
    const QStringList lines = pageLines(pdfs[0], 1);
    QCOMPARE(pageLines(pdfs[1], 1), lines);
    QVERIFY(lines.indexOf("later") >= 0 && lines.indexOf("later") < lines.indexOf("earlier"));
}

QTEST_MAIN(TestPageWriter)
#include "test_page_writer.moc"
