// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/values.h"

#include "engine/calc_error.h"
#include "engine/messages.h"

namespace quillet {

double requireReal(const Complex& z) {
    if (z.imag() != 0.0)
        throw CalcError(messages::kNotReal);
    return z.real();
}

} // namespace quillet
