#include <sys/stat.h>

#include <fstream>

#include <gtest/gtest.h>

#include "platform/Log.h"
#include "platform/headless/FileKeychain.h"
#include "platform/headless/TemporaryHome.h"

using namespace platform;
using platform::headless::FileKeychain;
using platform::headless::TemporaryHome;

namespace {

KeychainItem item(std::string account, std::string data) {
    KeychainItem it;
    it.key.generic = "uniqueInstallationIdentifier";
    it.key.account = std::move(account);
    it.key.service = "jp.example.app";
    it.accessible = kSecAttrAccessibleAfterFirstUnlock;
    it.data = std::move(data);
    return it;
}

}  // namespace

class FileKeychainTest : public ::testing::Test {
protected:
    TemporaryHome home;
    std::string path = home.path() + "/keychain.json";
};

TEST_F(FileKeychainTest, AddFindRemoveWithThePhonesStatuses) {
    FileKeychain keychain(path);
    const KeychainItem a = item("acct", std::string("sec\0ret\xff", 8));
    EXPECT_EQ(keychain.copyMatching(a.key, nullptr), errSecItemNotFound);
    EXPECT_EQ(keychain.add(a), errSecSuccess);
    EXPECT_EQ(keychain.add(item("acct", "other")), errSecDuplicateItem);

    KeychainItem found;
    ASSERT_EQ(keychain.copyMatching(a.key, &found), errSecSuccess);
    EXPECT_EQ(found.data, a.data);
    EXPECT_EQ(found.accessible, "ck");

    EXPECT_EQ(keychain.remove(a.key), errSecSuccess);
    EXPECT_EQ(keychain.remove(a.key), -25300);
    EXPECT_EQ(keychain.copyMatching(a.key, &found), errSecItemNotFound);
}

TEST_F(FileKeychainTest, EveryIdentityFieldTellsItemsApart) {
    FileKeychain keychain(path);
    const KeychainItem base = item("acct", "0");
    ASSERT_EQ(keychain.add(base), errSecSuccess);
    KeychainQuery variants[4] = {base.key, base.key, base.key, base.key};
    variants[0].itemClass = "inet";
    variants[1].generic = "g2";
    variants[2].account = "a2";
    variants[3].service = "s2";
    for (const KeychainQuery& q : variants) {
        EXPECT_EQ(keychain.copyMatching(q, nullptr), errSecItemNotFound) << describe(q);
        KeychainItem other = base;
        other.key = q;
        EXPECT_EQ(keychain.add(other), errSecSuccess) << describe(q);
    }
}

TEST_F(FileKeychainTest, ItemsPersistInAFileOnlyTheOwnerCanRead) {
    const KeychainItem a = item("acct", "ABCD-1234");
    {
        FileKeychain keychain(path);
        ASSERT_EQ(keychain.add(a), errSecSuccess);
    }
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    FileKeychain reloaded(path);
    KeychainItem found;
    ASSERT_EQ(reloaded.copyMatching(a.key, &found), errSecSuccess);
    EXPECT_EQ(found.data, "ABCD-1234");
    ASSERT_EQ(reloaded.remove(a.key), errSecSuccess);
    EXPECT_EQ(FileKeychain(path).copyMatching(a.key, nullptr), errSecItemNotFound);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(FileKeychainTest, CorruptFileLoadsEmptyAndMalformedItemsAreSkipped) {
    std::ofstream(path) << "not json";
    {
        platform::LogCapture log;
        FileKeychain keychain(path);
        EXPECT_TRUE(log.contains("is not a keychain file"));
        EXPECT_EQ(keychain.copyMatching(item("acct", "").key, nullptr), errSecItemNotFound);
    }
    std::ofstream(path, std::ios::trunc)
        << R"([{"class":"genp","generic":"uniqueInstallationIdentifier","account":"acct","service":"jp.example.app",)"
           R"("label":"","description":"","accessible":"","data":"4142"},{"class":1},{"data":"zz"}])";
    platform::LogCapture log;
    FileKeychain keychain(path);
    KeychainItem found;
    ASSERT_EQ(keychain.copyMatching(item("acct", "").key, &found), errSecSuccess);
    EXPECT_EQ(found.data, "AB");
    EXPECT_TRUE(log.contains("skipping a malformed item"));
}

TEST_F(FileKeychainTest, UnsavableChangesAreRefusedAndRolledBack) {
    FileKeychain keychain(path);
    EXPECT_EQ(keychain.add(item(std::string("\xff", 1), "x")), errSecParam);
    // A directory where the temporary file goes makes every save fail.
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0700), 0);
    EXPECT_EQ(keychain.add(item("acct", "x")), errSecIO);
    EXPECT_EQ(keychain.copyMatching(item("acct", "").key, nullptr), errSecItemNotFound);
    ::rmdir((path + ".tmp").c_str());
    ASSERT_EQ(keychain.add(item("acct", "x")), errSecSuccess);
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0700), 0);
    EXPECT_EQ(keychain.remove(item("acct", "").key), errSecIO);
    EXPECT_EQ(keychain.copyMatching(item("acct", "").key, nullptr), errSecSuccess);
}
