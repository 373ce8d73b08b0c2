#include "import/XmlReadAhead.h"

#include "import/XmlBackupReader.h"
#include "store/StoredDate.h"

namespace {
constexpr int kBatchSize = 256;
constexpr size_t kBatchesAhead = 8;
} // namespace

XmlReadAhead::XmlReadAhead(QIODevice* file, const CountryInfo& country)
    : country(country), countryCode(country.sn.toLower()), worker([this, file] { readAll(file); })
{}

XmlReadAhead::~XmlReadAhead()
{
    stopRequested = true;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

XmlReadAhead::Next XmlReadAhead::nextBatch(Batch& batch, std::chrono::milliseconds wait)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!changed.wait_for(lock, wait, [this] { return !ready.empty() || finished; }))
        return Next::Waiting;
    if (ready.empty())
        return Next::End;
    batch = std::move(ready.front());
    ready.pop_front();
    lock.unlock();
    changed.notify_all();
    return Next::Batch;
}

bool XmlReadAhead::push(Batch&& batch)
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return ready.size() < kBatchesAhead || stopping; });
    if (stopping)
        return false;
    ready.push_back(std::move(batch));
    lock.unlock();
    changed.notify_all();
    return true;
}

void XmlReadAhead::readAll(QIODevice* file)
{
    // Between the parser's steps: the progress, and whether the consumer is still there.
    const XmlBackupReader* parser = nullptr;
    XmlBackupReader reader(file, [this, &parser] {
        bytes.store(parser->bytesRead(), std::memory_order_relaxed);
        return !stopRequested.load(std::memory_order_relaxed);
    });
    parser = &reader;
    Batch batch;
    batch.reserve(kBatchSize);
    XmlBackupSms sms;
    bool going = true;
    while (going && reader.readSms(sms)) {
        batch.push_back(std::make_unique<SimpleSms>());
        batch.back()->fill({normalizePhoneNumber(country, sms.address), sms.contactName, sms.body,
                            sms.subject, storedDateFromPhoneTime(sms.dateMs), sms.fromMe(),
                            countryCode});
        if (batch.size() == kBatchSize) {
            bytes = reader.bytesRead();
            going = push(std::move(batch));
            batch = Batch();
            batch.reserve(kBatchSize);
        }
    }
    if (going && !batch.empty())
        push(std::move(batch));
    bytes = reader.bytesRead();
    std::lock_guard<std::mutex> lock(mutex);
    error = reader.errorString();
    mms = reader.mmsSkipped();
    malformed = reader.malformedSkipped();
    secondsDates = reader.datesInSeconds();
    finished = true;
    changed.notify_all();
}
