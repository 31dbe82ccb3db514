// Dates as text: whatever reads as a date is a valid one, and writing it back reads as the same date.
#include "FuzzCheck.h"
#include "session/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzzText(data, size);
    const std::optional<QDate> date = Protocol::ParseDateText(text);
    if (!date)
        return 0;
    FUZZ_CHECK(date->isValid());
    const QString written = Protocol::DateText(*date);
    FUZZ_CHECK(Protocol::ParseDateText(written) == date);
    FUZZ_CHECK(written.size() <= text.size());
    return 0;
}
