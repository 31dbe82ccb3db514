#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: when it does not, the input is a finding.
[[noreturn]] inline void fuzzFinding(const char* file, int line, const char* condition)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}
#define FUZZ_CHECK(condition) ((condition) ? void() : fuzzFinding(__FILE__, __LINE__, #condition))

inline QByteArray fuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}
// The input as UTF-8, or (after a first byte 0xff) as UTF-16 code units, which can hold lone surrogates.
inline QString fuzzText(const uint8_t* data, size_t size)
{
    return size > 0 && data[0] == 0xff ? QString(reinterpret_cast<const QChar*>(data + 1), qsizetype((size - 1) / 2))
                                       : QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
