#pragma once

#include "country/CountryInfo.h"
#include "store/SimpleSms.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QIODevice;

// Reads a phone's XML backup on a thread of its own, ahead of the one that
// stores the messages, and hands them over in batches of records ready to
// store, addresses normalised. At most a few batches wait, so memory stays flat
// however large the file. The file must stay open until the reader is gone;
// destroying the reader early stops its thread.
class XmlReadAhead
{
public:
    using Batch = std::vector<std::unique_ptr<SimpleSms>>;

    XmlReadAhead(QIODevice* file, const CountryInfo& country);
    ~XmlReadAhead();
    XmlReadAhead(const XmlReadAhead&) = delete;
    XmlReadAhead& operator=(const XmlReadAhead&) = delete;

    // The next batch, waiting for it; false once the file is read or failed.
    bool nextBatch(Batch& batch);

    // Valid once nextBatch() returned false.
    QString errorString() const { return error; }
    int mmsSkipped() const { return mms; }
    int malformedSkipped() const { return malformed; }
    // The bytes of the file read so far; from any thread.
    qint64 bytesRead() const { return bytes.load(); }

private:
    void readAll(QIODevice* file);
    // False when the consumer is gone.
    bool push(Batch&& batch);

    CountryInfo country;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Batch> ready;
    bool finished = false;
    bool stopping = false;
    std::atomic<qint64> bytes{0};
    QString error;
    int mms = 0;
    int malformed = 0;
    std::thread worker; // last: starts once everything above exists
};
