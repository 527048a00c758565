// The show's headings, the camera's turn wrap and the edge shading were tuned
// with these doubles. Written as multiples of Pi they must stay exactly the
// same doubles, or a turn ends a frame early or late and every later frame
// of the show moves; the compiler checks it.
#include "content/pi.h"

static_assert(Pi == 3.141592653589793);
static_assert(Pi / 2 == 1.5707963267948966);
static_assert(3 * Pi / 4 == 2.356194490192345);
static_assert(5 * Pi / 4 == 3.9269908169872414);
static_assert(3 * Pi / 2 == 4.71238898038469);
static_assert(0.65 * Pi == 2.0420352248333655);
static_assert(1.05 * Pi == 3.2986722862692828);
static_assert(1.07 * Pi == 3.3615041393410787);
static_assert(2 * Pi == 6.283185307179586);
static_assert(2000 * Pi == 6283.185307179586);
static_assert(32 / Pi == 10.185916357881302);
