#pragma once

// A fibre angle brought into [-90, 90] by half turns, as subtracting 180 while
// above 90 and adding 180 while below -90 would; by remainder, so that huge
// values take no longer. NaN stays NaN.
float FoldAngle(float angle);
