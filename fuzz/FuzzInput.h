#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace mldd::fuzz {

/** A fuzzer's bytes read as a switch byte, then rules and a text separated by a NUL byte. */
struct FuzzInput {
    bool flag = false;
    QString rules;
    QString text;

    FuzzInput(const uint8_t* data, size_t size) {
        if (size == 0)
            return;
        flag = data[0] & 1;
        const char* begin = reinterpret_cast<const char*>(data + 1);
        const char* end = reinterpret_cast<const char*>(data + size);
        const char* split = begin;
        while (split < end && *split != '\0')
            ++split;
        rules = QString::fromUtf8(begin, split - begin);
        if (split < end)
            text = QString::fromUtf8(split + 1, end - split - 1);
    }
};

} // namespace mldd::fuzz
