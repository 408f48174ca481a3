#pragma once
// Character classification of UTF-16 code units, as the class library gives it.

// A Unicode number: general category Nd (decimal digit), Nl (letter number) or No (other
// number), full-width digits, Roman numerals and vulgar fractions included. A surrogate alone
// is no character and answers false.
bool IsNumber(char16_t C);
