#pragma once
// The interface of every service object the application keeps in its table.
// The application owns the services and initialises them in id order.
#include "Framework/ErrorCodes.h"

#include <cstdint>

class AppService
{
public:
    virtual ~AppService() = default;
    virtual ErrorCode init() = 0;
    // The service's index in the application's service table.
    virtual uint32_t getServiceId() = 0;
};
