// The data check's decisions over arbitrary file bytes: what it keeps is whole,
// valid, five-minute records, and its counts agree with what it kept.
#include "fuzz_check.h"
#include "records/record_line.h"
#include "storedata/record_parser.h"
#include "storedata/record_repair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RecordCheckOutcome outcome = checkRecordBytes(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(outcome.retained.size() == size_t(outcome.written) * recordLineLength);
    FUZZ_CHECK(outcome.retained.size() <= size);
    uint64_t listed = 0;
    for (const RecordingEntry& entry : outcome.recordings.entries) listed += entry.length;
    FUZZ_CHECK(listed <= outcome.written);
    for (uint32_t i = 0; i < outcome.written; ++i) {
        const char* record = outcome.retained.data() + size_t(i) * recordLineLength;
        FUZZ_CHECK(record[78] == '\r' && record[79] == '\n');
        FUZZ_CHECK(parseRecordLine(Barograph, record));
    }
    return 0;
}
