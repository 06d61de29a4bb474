// The JSON value kinds and the shared constants.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Mesh2DTestSupport.h"
#include "mesh2d/util/UtMemory.h"
#include "mesh2d/util/json/Boolean.h"
#include "mesh2d/util/json/Error.h"
#include "mesh2d/util/json/NullValue.h"
#include "mesh2d/util/json/String.h"

namespace mesh2d::json {
namespace {

using JsonValueTest = test::RuntimeTest;

TEST_F(JsonValueTest, KindPredicatesAndTexts)
{
    MemoryParam* tmp = UtMemory::getTmpMemoryParam();
    String text(tmp, "hello");
    Error error(tmp, "broken", false);
    NullValue null;
    Boolean yes(true);
    Boolean no(false);
    const struct {
        Value* value;
        const char* chars;
        bool isString, isError, isNull, isBoolean, isStatic;
    } cases[] = {
        {&text, "hello", true, false, false, false, false},
        {&error, "broken", true, true, false, false, false},
        {&null, "NullValue", false, false, true, false, true},
        {&yes, "true", false, false, false, true, true},
        {&no, "false", false, false, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chars);
        EXPECT_STREQ(c.value->toChars(), c.chars);
        EXPECT_EQ(c.value->toString(), c.chars);
        EXPECT_EQ(c.value->isString(), c.isString);
        EXPECT_EQ(c.value->isError(), c.isError);
        EXPECT_EQ(c.value->isNull(), c.isNull);
        EXPECT_EQ(c.value->isBoolean(), c.isBoolean);
        EXPECT_EQ(c.value->isStatic(), c.isStatic);
        // No number, array or map kind exists.
        EXPECT_FALSE(c.value->isNumber());
        EXPECT_FALSE(c.value->isArray());
        EXPECT_FALSE(c.value->isMap());
        EXPECT_EQ(c.value->getSize(), 0);
        EXPECT_EQ(c.value->toInt(5), 5);
        EXPECT_EQ(c.value->toDouble(2.5), 2.5);
        EXPECT_EQ(c.value->getVector(), nullptr);
        EXPECT_EQ(c.value->getMap(), nullptr);
        EXPECT_EQ(c.value->getKeys(), Value::sharedEmptyKeys());
        EXPECT_FALSE(c.value->equals(3));
        EXPECT_FALSE(c.value->equals(3.0));
    }
    EXPECT_TRUE(yes.toBoolean(false));
    EXPECT_FALSE(no.toBoolean(true));
    EXPECT_TRUE(text.toBoolean(true));  // the default
    EXPECT_TRUE(yes.equals(true));
    EXPECT_FALSE(no.equals(true));
    EXPECT_FALSE(text.equals(true));
    EXPECT_TRUE(text.equals("hello"));
    EXPECT_TRUE(text.equals(LDString("hello")));
    EXPECT_FALSE(text.equals("hell"));
    EXPECT_FALSE(text.equals(static_cast<const char*>(nullptr)));
    EXPECT_FALSE(null.equals("NullValue"));
}

TEST_F(JsonValueTest, LookupOnAStringGivesTheSharedTypeMismatchError)
{
    String text(UtMemory::getTmpMemoryParam(), "not a map");
    Value* byKey = text.getByKey(LDString("key"));
    ASSERT_EQ(byKey, Value::sharedError());
    EXPECT_EQ(byKey->toString(), "Error:type mismatch");
    EXPECT_TRUE(byKey->isError());
    EXPECT_TRUE(byKey->isStatic());
    EXPECT_EQ(Boolean(true).getByIndex(0), Value::sharedError());
}

TEST_F(JsonValueTest, SharedErrorMessageIsSharedUntilTheNextSetError)
{
    Value* shared = Value::sharedError();
    EXPECT_EQ(shared->toString(), "ERROR");
    String text(UtMemory::getTmpMemoryParam(), "x");
    // The base kinds hand back the shared error unchanged.
    EXPECT_EQ(text.setError("ignored"), shared);
    EXPECT_EQ(shared->toString(), "ERROR");
    EXPECT_EQ(shared->setError("custom"), shared);
    EXPECT_STREQ(Value::sharedError()->toChars(), "custom");
    Error own(UtMemory::getTmpMemoryParam(), "mine", false);
    EXPECT_EQ(own.setError("changed"), &own);
    EXPECT_STREQ(own.toChars(), "changed");
    EXPECT_STREQ(shared->toChars(), "custom");
}

TEST_F(JsonValueTest, ConstantsExistOnlyWhileTheRuntimeRuns)
{
    ASSERT_NE(Value::sharedTrue(), nullptr);
    EXPECT_TRUE(Value::sharedTrue()->toBoolean());
    EXPECT_FALSE(Value::sharedFalse()->toBoolean(true));
    EXPECT_STREQ(Value::sharedNull()->toChars(), "NullValue");
    EXPECT_EQ(Value::sharedEmptyKeys()->size(), 0);
    ::testing::internal::CaptureStdout();
    Mesh2D::dispose();
    EXPECT_EQ(Value::sharedError(), nullptr);
    EXPECT_EQ(Value::sharedNull(), nullptr);
    Boolean orphan(true);
    EXPECT_EQ(orphan.getByIndex(0), nullptr);
    EXPECT_EQ(orphan.getKeys(), nullptr);
    Mesh2D::init();
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Value::sharedError()->toString(), "ERROR");  // fresh after a new init
}

TEST_F(JsonValueTest, ToCharsStaysValidAfterFurtherCalls)
{
    String text(UtMemory::getTmpMemoryParam(), "stable characters");
    const char* chars = text.toChars();
    for (int i = 0; i < 50; ++i) {
        LDString churn = text.toString() + "more";
        (void)churn;
    }
    EXPECT_STREQ(chars, "stable characters");
    const char* null = NullValue().toChars();
    EXPECT_STREQ(null, "NullValue");
}

}  // namespace
}  // namespace mesh2d::json
