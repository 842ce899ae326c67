#pragma once

// Told when the user sends a value, so polling can wait before asking again.
class PProtocolListener
{
public:
    virtual ~PProtocolListener() = default;
    virtual void userChangedValue() = 0;
};
