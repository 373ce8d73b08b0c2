#pragma once

#include "country/CountryInfo.h"
#include "store/SimpleSms.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class QIODevice;

// Reads a phone's XML backup on a thread of its own, ahead of the one that
// stores the messages, and hands them over in batches of records ready to
// store, addresses normalised with the country, whose region code the
// correspondents keep. At most a few batches wait, so memory stays flat
// however large the file. The file must stay open until the reader is gone;
// destroying the reader stops its thread within one step of the parser, even
// in the middle of a large element it skips.
class XmlReadAhead
{
public:
    using Batch = std::vector<std::unique_ptr<SimpleSms>>;
    enum class Next
    {
        Batch,   // a batch was handed over
        Waiting, // none within the time given: the file is still being read
        End,     // the file is read, or failed
    };

    XmlReadAhead(QIODevice* file, const CountryInfo& country);
    ~XmlReadAhead();
    XmlReadAhead(const XmlReadAhead&) = delete;
    XmlReadAhead& operator=(const XmlReadAhead&) = delete;

    // The next batch, waiting for it at most `wait`.
    Next nextBatch(Batch& batch, std::chrono::milliseconds wait);

    // Valid once nextBatch() returned End.
    QString errorString() const { return error; }
    int mmsSkipped() const { return mms; }
    int malformedSkipped() const { return malformed; }
    int datesInSeconds() const { return secondsDates; }
    // The bytes of the file read so far; from any thread.
    qint64 bytesRead() const { return bytes.load(); }

private:
    void readAll(QIODevice* file);
    // False when the consumer is gone.
    bool push(Batch&& batch);

    CountryInfo country;
    QString countryCode; // the region code the correspondents keep, lower case
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Batch> ready;
    bool finished = false;
    bool stopping = false;
    std::atomic<bool> stopRequested{false}; // stopping, for the parser's steps
    std::atomic<qint64> bytes{0};
    QString error;
    int mms = 0;
    int malformed = 0;
    int secondsDates = 0;
    std::thread worker; // last: starts once everything above exists
};
