// Reading the numbers inside record texts. Each function reads at pos,
// moves pos past what it read and fails without moving on anything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A signed decimal, as "%d" writes it.
bool PxReadDecimal(std::string_view text, std::size_t& pos, long long& value);
// Exactly width hexadecimal digits (either case); width 0 reads all there are.
bool PxReadHex(std::string_view text, std::size_t& pos, std::size_t width, std::uint64_t& value);
// Skips the literal expected.
bool PxReadLiteral(std::string_view text, std::size_t& pos, std::string_view expected);
