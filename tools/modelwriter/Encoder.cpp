#include "tools/modelwriter/Encoder.h"

#include <bit>
#include <cstring>

namespace modelwriter {

void Encoder::num(uint32_t value) {
    if (value > 0x0FFFFFFFu) {
        value = 0x0FFFFFFFu;
    }
    if (value < 0x80u) {
        byte(static_cast<uint8_t>(value));
    } else if (value < 0x4000u) {
        byte(static_cast<uint8_t>(0x80u | (value >> 7)));
        byte(static_cast<uint8_t>(value & 0x7Fu));
    } else if (value < 0x200000u) {
        byte(static_cast<uint8_t>(0x80u | (value >> 14)));
        byte(static_cast<uint8_t>(0x80u | ((value >> 7) & 0x7Fu)));
        byte(static_cast<uint8_t>(value & 0x7Fu));
    } else {
        byte(static_cast<uint8_t>(0x80u | (value >> 21)));
        byte(static_cast<uint8_t>(0x80u | ((value >> 14) & 0x7Fu)));
        byte(static_cast<uint8_t>(0x80u | ((value >> 7) & 0x7Fu)));
        byte(static_cast<uint8_t>(value & 0x7Fu));
    }
}

void Encoder::u32(uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        byte(static_cast<uint8_t>(value >> shift));
    }
}

void Encoder::i32(int32_t value) { u32(static_cast<uint32_t>(value)); }

void Encoder::f32(float value) { u32(std::bit_cast<uint32_t>(value)); }

void Encoder::f64(double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    u32(static_cast<uint32_t>(bits >> 32));
    u32(static_cast<uint32_t>(bits));
}

void Encoder::byte(uint8_t value) { out_.push_back(value); }

void Encoder::raw(const std::vector<uint8_t>& bytes) {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
}

void Encoder::string(const std::string& text) {
    num(static_cast<uint32_t>(text.size()));
    out_.insert(out_.end(), text.begin(), text.end());
}

void Encoder::nullObject() {
    classNo(0);
    complete();
}

void Encoder::stringObject(const std::string& text) {
    classNo(1);
    string(text);
    complete();
}

void Encoder::floatArray(const std::vector<float>& values) {
    classNo(27);
    num(static_cast<uint32_t>(values.size()));
    noteArray(static_cast<uint32_t>(values.size()), 4);
    for (float v : values) {
        f32(v);
    }
    complete();
}

void Encoder::intArray(const std::vector<int32_t>& values) {
    classNo(25);
    num(static_cast<uint32_t>(values.size()));
    noteArray(static_cast<uint32_t>(values.size()), 4);
    for (int32_t v : values) {
        i32(v);
    }
    complete();
}

void Encoder::doubleArray(const std::vector<double>& values) {
    classNo(26);
    num(static_cast<uint32_t>(values.size()));
    noteArray(static_cast<uint32_t>(values.size()), 8);
    for (double v : values) {
        f64(v);
    }
    complete();
}

void Encoder::id(int32_t cls, const std::string& name) {
    const auto key = std::make_pair(cls, name);
    if (backReferences_) {
        auto it = idNumbers_.find(key);
        if (it != idNumbers_.end()) {
            backReference(it->second);
            return;
        }
    }
    classNo(cls);
    string(name);
    const int number = complete();
    idNumbers_.emplace(key, number);
}

void Encoder::backReference(int32_t index) {
    classNo(33);
    i32(index);
}

void Encoder::vectorFloat(const std::vector<float>& values) {
    num(static_cast<uint32_t>(values.size()));
    noteArray(static_cast<uint32_t>(values.size()), 4);
    for (float v : values) {
        f32(v);
    }
}

void Encoder::vectorInt(const std::vector<int32_t>& values) {
    num(static_cast<uint32_t>(values.size()));
    noteArray(static_cast<uint32_t>(values.size()), 4);
    for (int32_t v : values) {
        i32(v);
    }
}

}  // namespace modelwriter
