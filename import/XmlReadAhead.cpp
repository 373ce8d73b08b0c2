#include "import/XmlReadAhead.h"

#include "import/XmlBackupReader.h"

namespace {
constexpr int kBatchSize = 256;
constexpr size_t kBatchesAhead = 8;
} // namespace

XmlReadAhead::XmlReadAhead(QIODevice* file, const CountryInfo& country)
    : country(country), worker([this, file] { readAll(file); })
{}

XmlReadAhead::~XmlReadAhead()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

bool XmlReadAhead::nextBatch(Batch& batch)
{
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !ready.empty() || finished; });
    if (ready.empty())
        return false;
    batch = std::move(ready.front());
    ready.pop_front();
    lock.unlock();
    changed.notify_all();
    return true;
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
    XmlBackupReader reader(file);
    Batch batch;
    batch.reserve(kBatchSize);
    XmlBackupSms sms;
    bool going = true;
    while (going && reader.readSms(sms)) {
        batch.push_back(std::make_unique<SimpleSms>());
        batch.back()->fill({normalizePhoneNumber(country, sms.address), sms.contactName, sms.body,
                            sms.subject, storedDateFromUnixSeconds(sms.dateMs / 1000), sms.fromMe()});
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
    finished = true;
    changed.notify_all();
}
