// The data check's decisions over arbitrary file bytes: what it keeps is whole,
// valid, five-minute records, and its counts agree with what it kept; fed in
// blocks it decides as for the whole file; a second check of what it kept
// changes nothing.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "records/record_line.h"
#include "storedata/record_parser.h"
#include "storedata/record_repair.h"

namespace {

struct Checked {
    RecordCheck check;
    std::string retained;
};

Checked checkInBlocks(const char* bytes, size_t size, size_t block)
{
    Checked out{};
    for (size_t at = 0; at < size; at += block)
        checkRecordBlock(out.check, bytes + at, size - at < block ? size - at : block, out.retained);
    finishRecordCheck(out.check);
    return out;
}

bool sameCounts(const RecordCheck& a, const RecordCheck& b)
{
    return a.written == b.written && a.breaks == b.breaks && a.errors == b.errors &&
           std::memcmp(&a.recordings, &b.recordings, sizeof a.recordings) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    Checked whole = checkInBlocks(bytes, size, size == 0 ? 1 : size);
    const RecordCheck& outcome = whole.check;
    FUZZ_CHECK(whole.retained.size() == size_t(outcome.written) * recordLineLength);
    // A line ended by a line feed alone grows by its carriage return.
    FUZZ_CHECK(whole.retained.size() <= size + size / (recordLineLength - 1));
    uint64_t listed = 0;
    for (const RecordingEntry& entry : outcome.recordings.entries) listed += entry.length;
    FUZZ_CHECK(listed <= outcome.written);
    for (uint32_t i = 0; i < outcome.written; ++i) {
        const char* record = whole.retained.data() + size_t(i) * recordLineLength;
        FUZZ_CHECK(record[78] == '\r' && record[79] == '\n');
        ParsedRecord parsed;
        FUZZ_CHECK(parseRecordLine(Barograph, record, parsed));
    }

    // Block size from the first byte: small blocks split lines and line ends.
    size_t block = size == 0 ? 1 : 1 + data[0] % 101;
    Checked pieces = checkInBlocks(bytes, size, block);
    FUZZ_CHECK(pieces.retained == whole.retained);
    FUZZ_CHECK(sameCounts(pieces.check, outcome));

    Checked again = checkInBlocks(whole.retained.data(), whole.retained.size(),
                                  whole.retained.empty() ? 1 : whole.retained.size());
    FUZZ_CHECK(again.retained == whole.retained);
    FUZZ_CHECK(again.check.errors == 0);
    FUZZ_CHECK(again.check.breaks == outcome.breaks);
    FUZZ_CHECK(std::memcmp(&again.check.recordings, &outcome.recordings, sizeof outcome.recordings) == 0);
    return 0;
}
