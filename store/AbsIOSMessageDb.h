#pragma once

#include "store/AbsMessageDb.h"

// A message database in the phone-style schema, of some schema version.
class AbsIOSMessageDb : public AbsMessageDb
{
public:
    ~AbsIOSMessageDb() override = default;

    virtual int version() const = 0;
};
