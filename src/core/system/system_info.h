#pragma once

#include <QString>
#include <vector>

// Facts about the machine. Tests hand in fixed ones.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // The address width of each processor, in bits; fails when it cannot be told.
    virtual std::vector<int> processorAddressWidths() = 0;
};

// The real one: the processor's width from the running system's
// architecture (x86_64, arm64, ... are 64 bits, i386, arm, ... 32), or the
// program's own pointer width when the architecture is not known.
class QtSystemInfo : public SystemInfo {
public:
    std::vector<int> processorAddressWidths() override;
};

// The address width of the last processor, as decimal text; "" when the
// machine reports no processor. Failures go to the caller.
QString GetProcessorAddressWidth(SystemInfo& systemInfo);
