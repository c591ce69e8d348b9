// Amounts of money: signed 32-bit numbers of cents, shown and typed as dollars and cents.
#pragma once

#include <cstdint>
#include <string>

enum MoneyStyle : int {
    kMoneyPlain = 0,    // "-1234.56": edit fields and records of text
    kMoneyDisplay = 1,  // "-$1,234.56": lists, totals and captions
};

std::string QVN_FormatMoney(int32_t cents, int style = kMoneyPlain);

// Reads what a user types in an amount field: an optional sign ("-" before or after "$", or
// the amount in parentheses), an optional "$", digits with optional thousands commas, and at
// most two decimals; blanks around it are ignored and an empty text is 0.00. Returns false
// and leaves *cents alone for anything else, and for an amount that does not fit 32 bits.
bool QVN_ParseMoney(const std::string& text, int32_t* cents);
