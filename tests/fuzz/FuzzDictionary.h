#pragma once

#include <string>
#include <vector>

// libFuzzer dictionaries: the values a mutation is unlikely to make by chance, which the fuzzers
// write next to their seeds (tools/run-fuzzers hands them over with -dict=).

// Counts and sizes at the edges, as little-endian 32-bit words: 0, 1 and its neighbours, the
// limits of the signed and unsigned types, and the counts whose product with a small element
// size wraps a 32-bit or 64-bit size to (almost) nothing; the 16-bit edges as 16-bit words; and
// the float values that break arithmetic (NaN, the infinities, the largest, the smallest).
std::vector<std::string> BoundaryWords();
// A text as a record name is written: its length as a 32-bit word, then its characters.
std::string LengthPrefixed(const std::string& kText);
// Writes one entry per line in the dictionary's escaped form; false when it cannot.
bool WriteDictionary(const char* pcPath, const std::vector<std::string>& kEntries);
