#pragma once
// A zlib stream writer: LZ77 over a 32 KiB window with Huffman-coded deflate blocks. Used by
// the PNG writer; the output depends only on the input bytes.
#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

// The zlib stream (two-byte header, deflate blocks, Adler-32) holding DATA. Each block is
// written stored, with the fixed codes or with its own codes, whichever is smallest. Throws
// std::length_error past 2 GiB.
std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> data);

// Code lengths of a Huffman code for the symbol counts FREQ, none longer than MAXBITS, into
// LENGTHS (as long as FREQ). Unused symbols get 0; a single used symbol gets 1. Ties are
// settled by symbol number, so the result never varies. MAXBITS must lie in 1..15 and leave
// room for every used symbol, else std::invalid_argument.
void HuffmanCodeLengths(std::span<const std::uint32_t> freq, int maxBits, std::span<std::uint8_t> lengths);

// The Adler-32 checksum of DATA, continuing from SUM (1 for a fresh start).
std::uint32_t Adler32(std::span<const std::uint8_t> data, std::uint32_t sum = 1);

}  // namespace gfx
