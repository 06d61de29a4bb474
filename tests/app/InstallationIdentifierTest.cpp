#include <regex>

#include <gtest/gtest.h>

#include "app/DeviceName.h"
#include "app/InstallationIdentifier.h"
#include "platform/Log.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/TemporaryHome.h"

using namespace app;
using platform::KeychainItem;
using platform::KeychainQuery;
using platform::OSStatus;
using platform::headless::FileKeychain;
using platform::headless::HeadlessDevice;
using platform::headless::TemporaryHome;

namespace {

const std::string kService = "jp.example.pelora";

KeychainQuery itemKey() {
    return {platform::kSecClassGenericPassword, kInstallationIdentifierKey, kInstallationIdentifierKey, kService};
}

bool isRandomUuid(const std::string& text) {
    static const std::regex uuid("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    return std::regex_match(text, uuid);
}

// A keychain whose answers the test chooses, over a real one.
class ScriptedKeychain : public platform::Keychain {
public:
    OSStatus addStatus = platform::errSecSuccess;
    OSStatus removeStatus = platform::errSecSuccess;
    OSStatus add(const KeychainItem&) override { return addStatus; }
    OSStatus copyMatching(const KeychainQuery&, KeychainItem*) const override { return platform::errSecItemNotFound; }
    OSStatus remove(const KeychainQuery&) override { return removeStatus; }
};

}  // namespace

class InstallationIdentifierTest : public ::testing::Test {
protected:
    TemporaryHome home;
    std::string path = home.path() + "/keychain.json";
    FileKeychain keychain{path};
    HeadlessDevice device;

    void SetUp() override {
        device.setIdentifierForVendor("");
        device.setSystemVersion("6.1");
    }
};

TEST_F(InstallationIdentifierTest, MadeOnceThenKeptAcrossRestarts) {
    const auto first = uniqueInstallationIdentifier(keychain, device, kService);
    ASSERT_TRUE(first.has_value());
    EXPECT_TRUE(isRandomUuid(*first)) << *first;
    EXPECT_EQ(uniqueInstallationIdentifier(keychain, device, kService), first);

    FileKeychain restarted(path);
    EXPECT_EQ(uniqueInstallationIdentifier(restarted, device, kService), first);
    KeychainItem stored;
    ASSERT_EQ(restarted.copyMatching(itemKey(), &stored), platform::errSecSuccess);
    EXPECT_EQ(stored.data, *first);
    EXPECT_EQ(stored.label, "");
    EXPECT_EQ(stored.description, "");
    EXPECT_EQ(stored.accessible, platform::kSecAttrAccessibleAfterFirstUnlock);

    // Another service is another installation.
    EXPECT_NE(uniqueInstallationIdentifier(keychain, device, "other.app"), first);
}

TEST_F(InstallationIdentifierTest, ThePerVendorIdentifierIsPreferredWhenUsable) {
    struct Case {
        const char* vendor;
        bool used;
    } cases[] = {
        {"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9", true},
        {kZeroUuid, false},
        {"not-a-uuid", false},
        {"", false},
    };
    for (const Case& c : cases) {
        resetUniqueInstallationIdentifier(keychain, kService);
        device.setIdentifierForVendor(c.vendor);
        const auto id = uniqueInstallationIdentifier(keychain, device, kService);
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(*id == c.vendor, c.used) << c.vendor;
        if (!c.used) {
            EXPECT_TRUE(isRandomUuid(*id)) << *id;
        }
    }
}

TEST_F(InstallationIdentifierTest, OldSystemsGetNoAccessibilityAttribute) {
    device.setSystemVersion("3.2");
    ASSERT_TRUE(uniqueInstallationIdentifier(keychain, device, kService).has_value());
    KeychainItem stored;
    ASSERT_EQ(keychain.copyMatching(itemKey(), &stored), platform::errSecSuccess);
    EXPECT_EQ(stored.accessible, "");
}

// A kept all-zero or empty identifier would block every later add with a
// duplicate status; it is replaced by a fresh one instead.
TEST_F(InstallationIdentifierTest, UnusableKeptIdentifiersAreReplaced) {
    for (const char* kept : {kZeroUuid, ""}) {
        keychain.remove(itemKey());
        KeychainItem item;
        item.key = itemKey();
        item.data = kept;
        ASSERT_EQ(keychain.add(item), platform::errSecSuccess);
        const auto id = uniqueInstallationIdentifier(keychain, device, kService);
        ASSERT_TRUE(id.has_value());
        EXPECT_TRUE(isRandomUuid(*id));
        FileKeychain restarted(path);
        EXPECT_EQ(uniqueInstallationIdentifier(restarted, device, kService), id);
    }
}

TEST(InstallationIdentifier, RefusedAddLogsTheStatusAndTheItemAndGivesNull) {
    ScriptedKeychain keychain;
    keychain.addStatus = platform::errSecDuplicateItem;
    HeadlessDevice device;
    platform::LogCapture log;
    EXPECT_FALSE(uniqueInstallationIdentifier(keychain, device, kService).has_value());
    EXPECT_TRUE(log.contains("[ERROR] Couldn't add the Keychain Item. result = -25299 query = {")) << log.text();
    EXPECT_TRUE(log.contains("svce = \"jp.example.pelora\"")) << log.text();
}

TEST(InstallationIdentifier, ResetLogsSuccessAlsoForAMissingItem) {
    struct Case {
        OSStatus status;
        const char* logged;
    } cases[] = {
        {platform::errSecSuccess, "[INFO}  Unique Installation Identifier is successfully reset."},
        {platform::errSecItemNotFound, "[INFO}  Unique Installation Identifier is successfully reset."},
        {platform::errSecIO, "[ERROR] Coudn't delete the Keychain Item. result = -36 query = {"},
    };
    for (const Case& c : cases) {
        ScriptedKeychain keychain;
        keychain.removeStatus = c.status;
        platform::LogCapture log;
        resetUniqueInstallationIdentifier(keychain, kService);
        EXPECT_TRUE(log.contains(c.logged)) << log.text();
    }
}

TEST(InstallationIdentifier, BackendOverloadsUseTheInstalledBackend) {
    platform::setBackend(nullptr);
    {
        platform::LogCapture log;
        EXPECT_FALSE(uniqueInstallationIdentifier(kService).has_value());
        EXPECT_EQ(app::platform(), "");
        EXPECT_EQ(identifier(), "Unknown");
    }
    TemporaryHome home;
    platform::headless::HeadlessBackend backend(home.path());
    platform::setBackend(&backend);
    backend.headlessDevice().setMachine("iPhone5,2");
    EXPECT_EQ(app::platform(), "iPhone5,2");
    EXPECT_EQ(identifier(), "iPhone5,2");
    backend.headlessDevice().setMachine("");
    EXPECT_EQ(identifier(backend.device()), "Unknown");

    const auto id = uniqueInstallationIdentifier(kService);
    ASSERT_TRUE(id.has_value());
    EXPECT_EQ(backend.keychain().copyMatching(itemKey(), nullptr), platform::errSecSuccess);
    resetUniqueInstallationIdentifier(kService);
    EXPECT_EQ(backend.keychain().copyMatching(itemKey(), nullptr), platform::errSecItemNotFound);
}
