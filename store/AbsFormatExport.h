#pragma once

// Receives message records one by one and writes them to a destination:
// begin(), write() for each message in order, end(). Failures are thrown.
template <typename Record>
class AbsFormatExport
{
public:
    virtual ~AbsFormatExport() = default;

    virtual void begin() = 0;
    virtual void write(const Record& record) = 0;
    virtual void end() = 0;
};
