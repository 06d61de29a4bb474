#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/headless/HeadlessDevice.h"

using platform::headless::HeadlessDevice;

// The version gates and the user agent read the system version, so it must
// not follow whatever kernel the client happens to run on.
TEST(HeadlessDevice, DefaultVersionIsFixedAndNotTheKernels) {
    ::unsetenv("PELORA_DEVICE_SYSTEM_NAME");
    ::unsetenv("PELORA_DEVICE_SYSTEM_VERSION");
    ::unsetenv("PELORA_DEVICE_MACHINE");
    HeadlessDevice device;
    EXPECT_EQ(device.systemName(), "Linux");
    EXPECT_EQ(device.systemVersion(), "8.4");
    EXPECT_FALSE(device.machine().empty());
    EXPECT_EQ(device.identifierForVendor(), "");
}

TEST(HeadlessDevice, EnvironmentAndSettersOverride) {
    ::setenv("PELORA_DEVICE_SYSTEM_NAME", "iPhone OS", 1);
    ::setenv("PELORA_DEVICE_SYSTEM_VERSION", "6.1", 1);
    ::setenv("PELORA_DEVICE_MACHINE", "iPhone5,2", 1);
    HeadlessDevice device;
    ::unsetenv("PELORA_DEVICE_SYSTEM_NAME");
    ::unsetenv("PELORA_DEVICE_SYSTEM_VERSION");
    ::unsetenv("PELORA_DEVICE_MACHINE");
    EXPECT_EQ(device.systemName(), "iPhone OS");
    EXPECT_EQ(device.systemVersion(), "6.1");
    EXPECT_EQ(device.machine(), "iPhone5,2");
    device.setSystemVersion("4.3");
    EXPECT_EQ(device.systemVersion(), "4.3");
    device.setMachine("iPod4,1");
    device.setIdentifierForVendor("11111111-2222-3333-4444-555555555555");
    EXPECT_EQ(device.machine(), "iPod4,1");
    EXPECT_EQ(device.identifierForVendor(), "11111111-2222-3333-4444-555555555555");
}
