// Lines kept while a record file refuses them, against a file that refuses on demand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/event_text.h"
#include "records/record_backlog.h"
#include "settings/shell_seam.h"

namespace {

struct RefusingFile {
    std::string content;
    AppendFailure refusal = AppendFailure::None;
    size_t room = static_cast<size_t>(-1);  // bytes the disk still takes
    std::vector<int> events;
    int appends = 0;
};

RefusingFile* file = nullptr;

AppendFailure appendToFake(const char*, const char* bytes, size_t count)
{
    ++file->appends;
    if (file->refusal != AppendFailure::None) return file->refusal;
    if (count > file->room) return AppendFailure::Write;
    file->room -= count;
    file->content.append(bytes, count);
    return AppendFailure::None;
}

void logToFake(int number) { file->events.push_back(number); }

class Backlog : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = &file_;
        recordFileLayer = {appendToFake};
        shellSeam.logEvent = logToFake;
        backlog_ = {"monitor.txt", 10 * 80, 13, 21, {}, 0, false, false};
    }
    void TearDown() override
    {
        recordFileLayer = RecordFileLayer{};
        resetShellSeam();
        file = nullptr;
    }

    // An 80-byte record line with its number in front.
    static std::string record(int number)
    {
        std::string line = std::to_string(100000 + number) + std::string(72, '.') + "\r\n";
        return line.substr(0, 80);
    }
    void append(int number)
    {
        std::string line = record(number);
        appendThroughBacklog(backlog_, line.data(), line.size());
    }
    std::string records(int from, int to) const
    {
        std::string all;
        for (int n = from; n <= to; ++n) all += record(n);
        return all;
    }

    RefusingFile file_;
    RecordBacklog backlog_;
};

} // namespace

TEST_F(Backlog, RecordsRefusedByAHeldFileFollowInOrderWithOneEventEachWay)
{
    append(1);
    file_.refusal = AppendFailure::Open;
    for (int n = 2; n <= 6; ++n) append(n);
    EXPECT_EQ(file_.content, records(1, 1));
    EXPECT_EQ(backlog_.lines.size(), 5u);
    EXPECT_FALSE(flushBacklog(backlog_));
    EXPECT_EQ(file_.events, std::vector<int>{13}) << "one event for the whole stretch";

    file_.refusal = AppendFailure::None;
    EXPECT_TRUE(flushBacklog(backlog_));
    EXPECT_EQ(file_.content, records(1, 6));
    EXPECT_EQ(backlog_.bytes, 0u);
    EXPECT_EQ(file_.events, (std::vector<int>{13, eventRecordsCaughtUp}));

    // The next stretch is a new one, logged by its own kind of failure.
    file_.refusal = AppendFailure::Write;
    append(7);
    file_.refusal = AppendFailure::None;
    append(8);
    EXPECT_EQ(file_.content, records(1, 8));
    EXPECT_EQ(file_.events, (std::vector<int>{13, eventRecordsCaughtUp, 21, eventRecordsCaughtUp}));
}

TEST_F(Backlog, PastItsBoundTheOldestGoWithOneEvent)
{
    file_.refusal = AppendFailure::Open;
    for (int n = 1; n <= 14; ++n) append(n);
    EXPECT_EQ(backlog_.lines.size(), 10u);
    EXPECT_EQ(backlog_.bytes, 800u);
    EXPECT_EQ(file_.events, (std::vector<int>{13, eventRecordsDropped}));
    file_.refusal = AppendFailure::None;
    append(15);
    EXPECT_EQ(file_.content, records(6, 15));
}

TEST_F(Backlog, ANearlyFullDiskTakesWhatFitsInWholeBatchesAndKeepsTheRest)
{
    RecordBacklog big = {"monitor.txt", recordBacklogBound, 13, 21, {}, 0, false, false};
    file_.refusal = AppendFailure::Write;
    for (int n = 1; n <= 600; ++n) {
        std::string line = record(n);
        appendThroughBacklog(big, line.data(), line.size());
    }
    file_.refusal = AppendFailure::None;
    file_.room = 250 * 80;  // room for part of what is kept
    EXPECT_FALSE(flushBacklog(big));
    // Whole records only, in order, and each exactly once.
    ASSERT_EQ(file_.content.size() % 80, 0u);
    size_t written = file_.content.size() / 80;
    EXPECT_GT(written, 0u);
    EXPECT_LE(written, 250u);
    EXPECT_EQ(file_.content, records(1, static_cast<int>(written)));
    EXPECT_EQ(big.lines.size(), 600u - written);
    file_.room = static_cast<size_t>(-1);
    EXPECT_TRUE(flushBacklog(big));
    EXPECT_EQ(file_.content, records(1, 600));
}

TEST_F(Backlog, AtTheEndWhatCannotBeWrittenIsLogged)
{
    flushBacklogAtEnd(backlog_);
    EXPECT_TRUE(file_.events.empty());
    EXPECT_EQ(file_.appends, 0);
    file_.refusal = AppendFailure::Open;
    append(1);
    flushBacklogAtEnd(backlog_);
    EXPECT_EQ(file_.events, (std::vector<int>{13, eventRecordsUnwritten}));
    EXPECT_EQ(backlog_.lines.size(), 1u);
}
