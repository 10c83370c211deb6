// Opening the serial port under Wine, as far as it touches the receive line.
#include <gtest/gtest.h>

#include <string>

#include "acquisition/receive_line.h"
#include "acquisition/serial_port.h"
#include "settings/monitor_settings.h"

namespace {

class SerialPortOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings_ = monitorSettings;
        // The test prefix may or may not have this port; both paths must start afresh.
        monitorSettings.COM = '8';
        resetReceiveLine();
    }

    void TearDown() override
    {
        if (portOpen) closeSerialPort();
        portOpen = 0;
        resetReceiveLine();
        monitorSettings = savedSettings_;
    }

    static void receive(const std::string& bytes)
    {
        receiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }

    MonitorSettings savedSettings_;
};

} // namespace

TEST_F(SerialPortOpen, ALineCutOffByTheOldPortIsNotContinued)
{
    receive("$PXDR,1013.2");
    ASSERT_EQ(receiveLine.length, 12u);
    openSerialPort(false);
    EXPECT_EQ(receiveLine.length, 0u);
    EXPECT_FALSE(receiveLine.discarding);
}

TEST_F(SerialPortOpen, AnOverlongLineOfTheOldPortDoesNotSwallowTheFirstLineOfTheNext)
{
    receive(std::string(receiveLineCapacity + 10, 'x'));
    ASSERT_TRUE(receiveLine.discarding);
    openSerialPort(false);
    EXPECT_FALSE(receiveLine.discarding);
    EXPECT_EQ(receiveLine.length, 0u);
}
