// SPDX-License-Identifier: GPL-3.0-or-later
// Locale-independent decimal text of doubles in the general notation of printf's "%.Ng".
#pragma once

#include <string>

namespace quillet {

// printf("%.*g", significantDigits, value) in the "C" locale: "inf", "-inf", "nan", "-nan"
// for the special values.
std::string formatGeneral(double value, int significantDigits);

// formatGeneral padded on the left with blanks to at least width characters ("%9.3g").
std::string formatGeneralPadded(double value, int significantDigits, int width);

} // namespace quillet
