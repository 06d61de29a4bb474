#pragma once
// Abstract value of a JSON document model with a uniform set of queries; each
// kind overrides what applies to it. Shared constants (true, false, the shared
// error, null, the empty key list) live from Mesh2D::init to Mesh2D::dispose.
#include "mesh2d/memory/LDObject.h"
#include "mesh2d/type/LDString.h"
#include "mesh2d/type/LDVector.h"

namespace mesh2d::json {

// No map kind exists in this runtime; the query keeps the family's shape.
class ValueMap;

class Value : public LDObject {
public:
    ~Value() override = default;

    virtual LDString toString() const = 0;
    // Characters that stay valid as long as the value does.
    virtual const char* toChars() const = 0;
    virtual int toInt(int defaultValue = 0) const { return defaultValue; }
    virtual double toDouble(double defaultValue = 0) const { return defaultValue; }
    virtual bool toBoolean(bool defaultValue = false) const { return defaultValue; }
    virtual int getSize() const { return 0; }
    virtual LDVector<Value*>* getVector(LDVector<Value*>* defaultValue = nullptr) const { return defaultValue; }
    virtual ValueMap* getMap(ValueMap* defaultValue = nullptr) const { return defaultValue; }
    // The shared error with the message "Error:type mismatch" (null before init).
    virtual Value* getByIndex(int index);
    virtual Value* getByKey(const LDString& key);
    // The shared empty key list (null before init).
    virtual LDVector<LDString>* getKeys();
    virtual bool isError() const { return false; }
    virtual bool isNull() const { return false; }
    virtual bool isBoolean() const { return false; }
    virtual bool isNumber() const { return false; }
    virtual bool isString() const { return false; }
    virtual bool isArray() const { return false; }
    virtual bool isMap() const { return false; }
    virtual bool equals(const LDString&) const { return false; }
    virtual bool equals(const char*) const { return false; }
    virtual bool equals(int) const { return false; }
    virtual bool equals(double) const { return false; }
    virtual bool equals(bool) const { return false; }
    virtual bool isStatic() const { return false; }
    // Returns the shared error unchanged; the error kind sets its message.
    virtual Value* setError(const char* message);

    // Called by Mesh2D::init / Mesh2D::dispose.
    static bool createConstants();
    static void releaseConstants();

    static Value* sharedError();
    static Value* sharedNull();
    static Value* sharedTrue();
    static Value* sharedFalse();
    static LDVector<LDString>* sharedEmptyKeys();
};

}  // namespace mesh2d::json
