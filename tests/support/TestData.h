#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "storage/ImageFileData.h"

namespace velmar::testing {

// The folder of real EDIDs kept with the tests (see tests/data/corpus/README.md).
std::string CorpusDir();
// Every .bin file of the corpus, sorted by name (full paths).
std::vector<std::string> CorpusFiles();
// The bytes of a file; empty when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
// A fresh empty folder under the system's temporary folder, removed by the caller.
std::string MakeTempDir();
void RemoveTree(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& contents);
std::string ReadTextFile(const std::string& path);

// What an INF file is written with: its driver date.
EncodeOptions DatedOptions(const LocalTime& date);
// What a REG file is written with: the key under HKEY_LOCAL_MACHINE and the value name.
EncodeOptions RegistryOptions(const std::string& key, const std::string& valueName);

// A default EDID 1.3 base block with a valid checksum and `extensions` in byte 126.
std::vector<uint8_t> MakeBase13(unsigned extensions = 0);
// Fixes byte 127 of the 128-byte block at `offset`.
void FixChecksum(uint8_t* block);
// `count` bytes drawn uniformly from `random`.
std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t count);

}  // namespace velmar::testing
