// The random numbers of the placement and animation formulas.
#pragma once

#include <cstdlib>

// A value from 0 to 32767 from rand(): every random formula of the system is
// written for that range (glibc's rand() reaches 2^31 - 1, whose low 15 bits
// are as uniform). Seed with srand() as usual.
inline int randomValue()
{
    return std::rand() & 0x7FFF;
}

// randomValue() / 32767 as a double in [0, 1].
inline double randomUnit()
{
    return static_cast<double>(randomValue()) / 32767.0;
}
