#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/headless/HeadlessDevice.h"

using platform::headless::HeadlessDevice;
using platform::headless::numericVersionPrefix;

TEST(HeadlessDevice, DefaultsComeFromTheKernel) {
    ::unsetenv("PELORA_DEVICE_SYSTEM_NAME");
    ::unsetenv("PELORA_DEVICE_MACHINE");
    HeadlessDevice device;
    EXPECT_EQ(device.systemName(), "Linux");
    EXPECT_FALSE(device.machine().empty());
    EXPECT_EQ(device.identifierForVendor(), "");
    EXPECT_EQ(numericVersionPrefix(device.systemVersion()), device.systemVersion());
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
    device.setMachine("iPod4,1");
    device.setIdentifierForVendor("11111111-2222-3333-4444-555555555555");
    EXPECT_EQ(device.machine(), "iPod4,1");
    EXPECT_EQ(device.identifierForVendor(), "11111111-2222-3333-4444-555555555555");
}

TEST(HeadlessDevice, VersionPrefixKeepsOnlyTheDottedNumber) {
    struct Case {
        const char* release;
        const char* version;
    } cases[] = {{"6.1.0-13-amd64", "6.1.0"}, {"5.15.0", "5.15.0"}, {"4.", "4"}, {"abc", "0"}, {"", "0"}};
    for (const Case& c : cases) EXPECT_EQ(numericVersionPrefix(c.release), c.version) << c.release;
}
