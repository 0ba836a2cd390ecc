// Shared by the media tests: each test runs in a fresh temporary directory
// (the data files are looked up relative to the current one), and small
// builders for the picture formats.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/surface.h"

using Bytes = std::vector<uint8_t>;

class MediaTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

void WriteFile(const std::string& path, const Bytes& bytes);
Bytes ReadFile(const std::string& path);

void PutLe16(Bytes& b, size_t at, uint16_t v);
void PutLe32(Bytes& b, size_t at, uint32_t v);
void AppendLe16(Bytes& b, uint16_t v);
void AppendLe32(Bytes& b, uint32_t v);

// A PIX file with our own header: data offset 11, `data` already packed
// (or raw) and its length written in `lengthBytes` bytes.
Bytes MakePix(int width, int height, const Bytes& data, int lengthBytes, const Bytes& palette = Bytes(768, 0));
// An archive of (name, bytes) members in the order given.
Bytes MakeArchive(const std::vector<std::pair<std::string, Bytes>>& members);
// A palette whose entry i is (i, i/2, i/4) & 63, easy to recognise.
Bytes TestPalette();

// The surface's pixels of row y, columns [x0, x1).
Bytes RowOf(const Surface* surface, int y, int x0, int x1);
