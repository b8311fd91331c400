#ifndef DECISORDISPAROS_H
#define DECISORDISPAROS_H

class ExpresionDisparo;

// Decides whether triggers can be true in the same step of the generated C.
// Events are free booleans. A comparison of a variable with a number is
// decided exactly over the integers the C variables hold (so "x > 3" and
// "x < 4" can never both hold); TRUE and FALSE count as the 1 and 0 the
// generated header defines. A comparison with any other name ("x == y",
// "x > LIMITE") is decided exactly on the difference of the two, and one
// with a value that is neither ("x == 2*y") is a free boolean of its own.
// Freedom only ever makes "can be true together" more likely, so the answer
// errs on the side of reporting. Triggers that do not read (or the reset
// "-") are never true.
namespace DecisorDisparos {

bool compatibles(const ExpresionDisparo &a, const ExpresionDisparo &b);
bool satisfacible(const ExpresionDisparo &expresion);

} // namespace DecisorDisparos

#endif // DECISORDISPAROS_H
