#pragma once
// Primitive encodings of the model file and the numbering of completed
// objects, which back-references (class 33) point at. Every method that writes
// a whole stream object calls complete() once the object is finished, so the
// number an object gets is the count of objects finished before it.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace modelwriter {

// Where an array's elements sit in the written bytes (benchmarks decode them directly).
struct ArraySpan {
    size_t offset;
    uint32_t count;
    int elementSize;
};

class Encoder {
public:
    // Variable-length unsigned number, 7 bits per byte, most significant first.
    // Values above 2^28 - 1 cannot be encoded and are clamped.
    void num(uint32_t value);
    void i32(int32_t value);
    void u32(uint32_t value);
    void f32(float value);
    void f64(double value);
    void byte(uint8_t value);
    void boolean(bool value) { byte(value ? 1 : 0); }
    void raw(const std::vector<uint8_t>& bytes);
    void string(const std::string& text);  // length, then bytes

    // Whole objects (class number + payload), each numbered on completion.
    void classNo(int32_t cls) { num(static_cast<uint32_t>(cls)); }
    void nullObject();                               // class 0
    void stringObject(const std::string& text);      // class 1
    void floatArray(const std::vector<float>& values);  // class 27
    void intArray(const std::vector<int32_t>& values);  // class 25
    void doubleArray(const std::vector<double>& values);  // class 26
    // An interned ID (classes 50, 51, 60, 134). With back-references on, a
    // name already written for this class becomes class 33 instead.
    void id(int32_t cls, const std::string& name);
    void backReference(int32_t index);  // class 33, not numbered
    // Vectors read with readVectorInt / readVectorFloat: no class number.
    void vectorFloat(const std::vector<float>& values);
    void vectorInt(const std::vector<int32_t>& values);

    // Marks the end of an object; returns its reference number.
    int complete() { return completed_++; }
    int completedCount() const { return completed_; }

    void setBackReferences(bool on) { backReferences_ = on; }
    // When set, every array's element bytes are recorded there.
    void recordArrays(std::vector<ArraySpan>* spans) { spans_ = spans; }
    const std::vector<uint8_t>& bytes() const { return out_; }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    void noteArray(uint32_t count, int elementSize) {
        if (spans_ && count > 0) spans_->push_back({out_.size(), count, elementSize});
    }

    std::vector<uint8_t> out_;
    int completed_ = 0;
    bool backReferences_ = true;
    std::vector<ArraySpan>* spans_ = nullptr;
    std::map<std::pair<int32_t, std::string>, int> idNumbers_;
};

}  // namespace modelwriter
