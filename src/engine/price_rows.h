// The price texts of the quit details dialogs and the order of their
// price-change rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/price_points.h"

// "4.50": whole units, a full stop, two digits of hundredths, whatever the
// locale. The hidden price column holds this text.
std::string PlainPriceText(uint32_t hundredths);
// Reads exactly that form back (digits, ".", two digits, at most UINT32_MAX
// hundredths); anything else is refused.
bool ReadPlainPriceText(std::string_view text, uint32_t& hundredths);

// A price for a price field: two decimals after DecimalSeparator and no
// grouping, so that ReadPrice reads the same price back ("1000,00").
std::string PriceFieldText(uint32_t hundredths);

// Where a row for `day` goes among rows whose days (`days`, ascending as
// unsigned numbers) are already in place: after every row of the same day.
std::size_t PriceRowPlace(std::span<const uint32_t> days, uint32_t day);

// The price-change list holds at most as many rows as pp.dat keeps.
inline bool PriceRowsFull(std::size_t rows) { return rows >= PricePointCapacity; }
inline constexpr char PriceRowsFullMessage[] =
    "You cannot add more than 100 price changes - please delete or edit one of them instead";
