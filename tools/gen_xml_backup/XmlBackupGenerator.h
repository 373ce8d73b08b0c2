#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <random>

class QIODevice;

struct XmlBackupOptions
{
    qint64 count = 100000; // <sms> and <mms> elements together
    quint32 seed = 1;
};

// Writes backup files of the Android SMS backup app the way they turn up on
// users' disks, from a seed: the same seed always gives the same bytes.
// Several hundred conversations of very different lengths, addresses in
// E.164 and in local forms (the same person sometimes in both), contact
// names or "(Unknown)", received and sent messages with a few drafts,
// outbox, failed and queued ones, bodies from one word to several lines,
// emoji mostly as two character references to their UTF-16 surrogates (as
// the app writes them) and some as plain UTF-8, and about every fiftieth
// record an <mms> with its parts and addresses. The file is written as it
// is generated, so its size is bounded only by the disk.
class XmlBackupGenerator
{
public:
    explicit XmlBackupGenerator(const XmlBackupOptions& options);

    // Writes the whole file to device. Throws std::runtime_error with the
    // device's error text when a write fails.
    void write(QIODevice& device);

private:
    struct Conversation
    {
        QString address;
        QString name; // empty: "(Unknown)"
        bool service = false;
        QList<int> members; // other conversations, for a group MMS
    };

    quint32 next() { return quint32(rng()); }
    int below(int n) { return n > 0 ? int(next() % quint32(n)) : 0; }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int perMille) { return below(1000) < perMille; }
    const QString& pick(const QStringList& list) { return list.at(below(int(list.size()))); }
    QString digits(int count);

    void planConversations();
    QString localForm(const QString& nationalNumber, bool british);
    int pickConversation();
    QString body(const Conversation& conversation);
    QString sentence();
    QString readableDate(qint64 ms) const;

    void appendEscaped(QStringView text, bool surrogateReferences);
    void attribute(const char* name, QStringView value, bool surrogateReferences = true);
    void attribute(const char* name, const char* value);
    void attribute(const char* name, qint64 value);
    void writeSms(qint64 date);
    void writeMms(qint64 date);
    void writePart(int seq, const char* type, const QString& text, const QString& location,
                   const QByteArray& data = QByteArray());
    void flushIfFull(QIODevice& device, bool force);

    XmlBackupOptions options;
    std::mt19937 rng;
    QList<Conversation> conversations;
    QList<double> cumulativeWeight;
    QByteArray buffer;
    qint64 nextMmsId = 1;
};
