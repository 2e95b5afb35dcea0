// The contact size the mouse reports while a fake posture is set.
#pragma once

#include "Posture.h"
#include "PostureDetector.h"

// Side of a square contact, in whole board units, whose area a posture
// detector with these ranges classifies as `posture`, also in the corner
// zones where it counts the area twice: the area sits in the middle of the
// part of the range where both it and its double fit, or in the middle of
// the range when no such part exists. 0 for unknown, none and empty ranges.
double fakeContactSide(const PostureRanges& ranges, Posture posture);
