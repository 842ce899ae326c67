#pragma once

// Hears from a protocol when the user has set a value on a device, so that
// whoever polls the device can put off its next poll.
class PProtocolListener
{
public:
    virtual ~PProtocolListener() = default;

    virtual void userChangedValue() = 0;
};
