// The settings store is read by background workers while the main thread
// writes and flushes; the keychain may be asked from any thread too.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/FileKeychain.h"
#include "platform/headless/FilePreferences.h"
#include "platform/headless/TemporaryHome.h"

using platform::headless::FileKeychain;
using platform::headless::FilePreferences;
using platform::headless::TemporaryHome;

TEST(StateFilesConcurrency, SettingsWritesReadsAndFlushesFromManyThreads) {
    TemporaryHome home;
    const std::string path = home.path() + "/settings.json";
    {
        FilePreferences prefs(path);
        prefs.registerDefaults({{"DOWNLOAD_FIRST", 1.0}});
        std::atomic<int> flushFailures{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&, t] {
                const std::string key = "K" + std::to_string(t);
                for (int i = 1; i <= 40; ++i) {
                    prefs.setInteger(key, i);
                    (void)prefs.boolForKey("DOWNLOAD_FIRST");
                    (void)prefs.stringForKey("K0");
                    if (i % 10 == 0 && !prefs.flush()) ++flushFailures;
                }
            });
        }
        for (auto& t : threads) t.join();
        EXPECT_EQ(flushFailures.load(), 0);
    }
    FilePreferences reloaded(path);
    for (int t = 0; t < 4; ++t) EXPECT_EQ(reloaded.integerForKey("K" + std::to_string(t)), 40);
}

TEST(StateFilesConcurrency, KeychainAddsFromManyThreadsAllLand) {
    TemporaryHome home;
    const std::string path = home.path() + "/keychain.json";
    FileKeychain keychain(path);
    std::atomic<int> added{0}, duplicates{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                platform::KeychainItem item;
                item.key.account = "a" + std::to_string(i);
                item.data = "x";
                const auto status = keychain.add(item);
                if (status == platform::errSecSuccess) ++added;
                if (status == platform::errSecDuplicateItem) ++duplicates;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(added.load(), 10);  // each account exactly once
    EXPECT_EQ(duplicates.load(), 30);
    FileKeychain reloaded(path);
    for (int i = 0; i < 10; ++i) {
        platform::KeychainQuery q;
        q.account = "a" + std::to_string(i);
        EXPECT_EQ(reloaded.copyMatching(q, nullptr), platform::errSecSuccess);
    }
}
